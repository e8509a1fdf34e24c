// The library session, login and the one-shot FTP commands.
#include "platform/inet/FtpConnection_p.h"

namespace inet {

using detail::Reply;

namespace {
QString replyText(const Reply &r) { return decodeName(r.text); }

QByteArray withArgument(const char *verb, const QString &arg)
{
    return QByteArray(verb) + ' ' + encodeName(arg);
}

// The path of a 257 reply: "dir" with "" standing for one quote.
QByteArray quotedPath(const QByteArray &text)
{
    const QByteArray first = text.left(text.indexOf('\r'));
    const qsizetype open = first.indexOf('"');
    if (open < 0)
        return first.mid(4).trimmed();
    QByteArray path;
    for (qsizetype i = open + 1; i < first.size(); ++i) {
        if (first[i] == '"') {
            if (i + 1 < first.size() && first[i + 1] == '"') {
                path += '"';
                ++i;
                continue;
            }
            break;
        }
        path += first[i];
    }
    return path;
}
} // namespace

// ---- session -----------------------------------------------------------------

InternetSession::InternetSession(const QString &agent) : m_agent(agent) {}

InternetSession::~InternetSession()
{
    for (auto &c : m_connections)
        c->d->quit();
    m_connections.clear();
}

FtpConnection *InternetSession::connectFtp(const QString &host, quint16 port, const QString &user,
                                           const QString &password, quint32 flags)
{
    return connectFtp(host, port, user, password, flags, ConnectOptions());
}

FtpConnection *InternetSession::connectFtp(const QString &host, quint16 port, const QString &user,
                                           const QString &password, quint32 flags, const ConnectOptions &options)
{
    setLastResponseInfo(QString());
    std::unique_ptr<FtpConnection> c(new FtpConnection);
    c->d->session = this;
    c->d->passive = (flags & INTERNET_FLAG_PASSIVE) != 0;
    c->d->options = options;
    if (port == 0)
        port = options.tls == TlsMode::Implicit ? kImplicitTlsPort : 21;
    if (!c->d->login(host, port, user, password))
        return nullptr;
    m_connections.push_back(std::move(c));
    setLastError(NoError);
    return m_connections.back().get();
}

void InternetSession::closeConnection(FtpConnection *connection)
{
    for (auto it = m_connections.begin(); it != m_connections.end(); ++it) {
        if (it->get() == connection) {
            (*it)->d->quit();
            m_connections.erase(it);
            setLastError(NoError);
            return;
        }
    }
    setLastError(ErrorIncorrectHandleState);
}

// ---- connection private: plumbing -------------------------------------------

bool FtpConnectionPrivate::fail(quint32 code)
{
    setLastError(code);
    return false;
}

bool FtpConnectionPrivate::succeed()
{
    setLastError(NoError);
    return true;
}

bool FtpConnectionPrivate::isUnsafeLine(const QByteArray &line)
{
    // A NUL would cut the line short on many servers: "DELE a<NUL>b" deletes "a".
    return line.contains('\r') || line.contains('\n') || line.contains('\0');
}

bool FtpConnectionPrivate::usable(bool transfer)
{
    if (!control.isOpen())
        return fail(deadError);
    if (openFile || (transfer && openFind))
        return fail(ErrorTransferInProgress);
    return true;
}

void FtpConnectionPrivate::controlLost(quint32 error)
{
    // A time-out or a stop leaves the control connection out of step: we close
    // it, and calls after it are refused as on a closed handle.
    deadError = error == ErrorTimeout || error == ErrorStopped ? ErrorIncorrectHandleState : ErrorFtpDropped;
    control.close();
    setLastError(error);
}

bool FtpConnectionPrivate::send(const QByteArray &line)
{
    if (isUnsafeLine(line))
        return fail(ErrorLineBreak);
    quint32 error = NoError;
    if (!control.sendLine(line, replyDeadline(), error)) {
        controlLost(error);
        return false;
    }
    return true;
}

bool FtpConnectionPrivate::readReply(Reply &reply, QDeadlineTimer deadline)
{
    quint32 error = NoError;
    if (!control.readReply(reply, deadline, error)) {
        controlLost(error);
        return false;
    }
    setLastResponseInfo(replyText(reply));
    return true;
}

bool FtpConnectionPrivate::exchange(const QByteArray &line, Reply &reply)
{
    // Whatever came unasked would be taken for this command's reply.
    QByteArray stale;
    quint32 error = NoError;
    if (!control.takeUnsolicited(stale, error)) {
        if (!stale.isEmpty())
            setLastResponseInfo(decodeName(stale)); // the server's parting words
        controlLost(error);
        return false;
    }
    if (!send(line))
        return false;
    const QDeadlineTimer deadline = replyDeadline();
    do {
        if (!readReply(reply, deadline))
            return false;
    } while (reply.kind() == 1);
    return true;
}

bool FtpConnectionPrivate::simple(const QByteArray &line)
{
    Reply reply;
    if (!exchange(line, reply))
        return false;
    return reply.ok() ? succeed() : fail(ErrorExtended);
}

bool FtpConnectionPrivate::setType(char wanted)
{
    if (type == wanted)
        return true;
    if (!simple(QByteArray("TYPE ") + wanted))
        return false;
    type = wanted;
    return true;
}

void FtpConnectionPrivate::detach()
{
    if (openFind) {
        openFind->m_connection = nullptr;
        openFind = nullptr;
    }
    if (openFile) {
        openFile->d->conn = nullptr;
        openFile->d->data.abort();
        openFile = nullptr;
    }
}

void FtpConnectionPrivate::quit()
{
    if (openFile)
        openFile->d->data.abort();
    detach();
    if (control.isOpen()) {
        // Polite, but not worth a long wait: the socket closes either way.
        quint32 error = NoError;
        const QDeadlineTimer deadline(qMin(timeouts().replyMs, 2000));
        Reply reply;
        if (control.sendLine("QUIT", deadline, error))
            control.readReply(reply, deadline, error);
    }
    control.close();
}

// ---- login -----------------------------------------------------------------

void FtpConnectionPrivate::parseFeatures(const QByteArray &text)
{
    features = FtpFeatures();
    for (const QByteArray &line : text.split('\n')) {
        if (!line.startsWith(' '))
            continue;
        const QByteArray word = line.trimmed().split(' ').value(0).toUpper();
        if (word == "MLST" || word == "MLSD")
            features.mlsd = true;
        else if (word == "EPSV")
            features.epsv = true;
        else if (word == "UTF8")
            features.utf8 = true;
        else if (word == "SIZE")
            features.size = true;
        else if (word == "MDTM")
            features.mdtm = true;
        else if (word == "MFMT")
            features.mfmt = true;
        else if (word == "REST")
            features.restStream = line.toUpper().contains("STREAM");
        else if (word == "HASH")
            parseHashFeature(line.trimmed().mid(4), features);
        else if (word == "XSHA256")
            features.xsha256 = true;
        else if (word == "XSHA1")
            features.xsha1 = true;
        else if (word == "XMD5")
            features.xmd5 = true;
    }
}

bool FtpConnectionPrivate::login(const QString &host, quint16 port, const QString &user,
                                 const QString &password)
{
    const QByteArray userName = user.isEmpty() ? QByteArray("anonymous") : encodeName(user);
    const QByteArray pass = user.isEmpty() && password.isEmpty() ? QByteArray("anonymous@") : encodeName(password);
    if (isUnsafeLine(userName) || isUnsafeLine(pass) || isUnsafeLine(host.toUtf8()))
        return fail(ErrorLineBreak);
    quint32 error = NoError;
    if (!control.connectTo(host, port, timeouts().connectMs, error))
        return fail(error);
    const bool implicit = options.tls == TlsMode::Implicit;
    if (implicit && !secureControl(host, port))
        return false;
    Reply greeting;
    if (!readGreeting(greeting))
        return false;
    const bool explicitTls = options.tls == TlsMode::IfOffered || options.tls == TlsMode::Required;
    if (explicitTls && !negotiateAuth(host, port))
        return false;

    Reply reply;
    if (!exchange("USER " + userName, reply))
        return false;
    quint32 refusal = reply.code == 530 ? ErrorIncorrectUserName : ErrorLoginFailure;
    if (reply.code == 331) {
        if (!exchange("PASS " + pass, reply))
            return false;
        refusal = reply.code == 530 ? ErrorIncorrectPassword : ErrorLoginFailure;
    }
    if (reply.kind() != 2) {
        control.close();
        return fail(refusal);
    }
    const QByteArray welcome = greeting.text + reply.text;
    // The question belongs to the login; whatever it holds on to (a window)
    // must not be reached from this connection later.
    options.check = nullptr;
    if (tls && !protectData())
        return false;

    if (exchange("FEAT", reply) && reply.kind() == 2)
        parseFeatures(reply.text);
    if (features.utf8 && control.isOpen())
        exchange("OPTS UTF8 ON", reply);
    if (!control.isOpen())
        return false;
    setLastResponseInfo(decodeName(welcome));
    return succeed();
}

// ---- connection --------------------------------------------------------------

FtpConnection::FtpConnection() : d(std::make_unique<FtpConnectionPrivate>()) {}

FtpConnection::~FtpConnection()
{
    d->detach();
    d->control.close();
}

bool FtpConnection::command(const QString &line)
{
    const QByteArray raw = encodeName(line);
    if (FtpConnectionPrivate::isUnsafeLine(raw))
        return d->fail(ErrorLineBreak);
    if (!d->usable(false))
        return false;
    // The server's transfer type may change behind our back.
    if (raw.trimmed().left(4).toUpper() == "TYPE")
        d->type = 0;
    return d->simple(raw);
}

bool FtpConnection::getCurrentDirectory(QString &dir)
{
    dir.clear();
    if (!d->usable(false))
        return false;
    Reply reply;
    if (!d->exchange("PWD", reply))
        return false;
    if (reply.code != 257)
        return d->fail(ErrorExtended);
    dir = decodeName(quotedPath(reply.text));
    return d->succeed();
}

namespace {
bool oneArgument(FtpConnectionPrivate &d, const char *verb, const QString &arg)
{
    const QByteArray line = withArgument(verb, arg);
    if (FtpConnectionPrivate::isUnsafeLine(line))
        return d.fail(ErrorLineBreak);
    return d.usable(false) && d.simple(line);
}
} // namespace

bool FtpConnection::setCurrentDirectory(const QString &dir) { return oneArgument(*d, "CWD", dir); }
bool FtpConnection::createDirectory(const QString &dir) { return oneArgument(*d, "MKD", dir); }
bool FtpConnection::removeDirectory(const QString &dir) { return oneArgument(*d, "RMD", dir); }
bool FtpConnection::deleteFile(const QString &name) { return oneArgument(*d, "DELE", name); }

bool FtpConnection::renameFile(const QString &from, const QString &to)
{
    const QByteArray rnfr = withArgument("RNFR", from);
    const QByteArray rnto = withArgument("RNTO", to);
    if (FtpConnectionPrivate::isUnsafeLine(rnfr) || FtpConnectionPrivate::isUnsafeLine(rnto))
        return d->fail(ErrorLineBreak);
    if (!d->usable(false))
        return false;
    Reply reply;
    if (!d->exchange(rnfr, reply))
        return false;
    if (reply.kind() != 3)
        return d->fail(ErrorExtended);
    return d->simple(rnto);
}

bool FtpConnection::isBusy() const { return d->openFile || d->openFind; }
bool FtpConnection::isAlive() const { return d->control.isOpen(); }

bool FtpConnection::checkAlive()
{
    if (!d->control.isOpen() || d->openFile || d->openFind)
        return d->control.isOpen();
    QByteArray said;
    quint32 error = NoError;
    const bool open = d->control.takeUnsolicited(said, error);
    if (!said.isEmpty())
        setLastResponseInfo(decodeName(said));
    if (!open)
        d->control.close();
    return open;
}
FtpFeatures FtpConnection::features() const { return d->features; }
void FtpConnection::setUseMlsd(bool use) { d->useMlsd = use; }
bool FtpConnection::passive() const { return d->passive; }
bool FtpConnection::isEncrypted() const { return d->control.tls() != nullptr; }
QString FtpConnection::tlsProtocol() const { return d->control.tls() ? d->control.tls()->protocol() : QString(); }
QString FtpConnection::tlsCipher() const { return d->control.tls() ? d->control.tls()->cipher() : QString(); }

} // namespace inet
