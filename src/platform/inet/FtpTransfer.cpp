// Data connections: passive (EPSV/PASV) and active (PORT/EPRT), starting a
// transfer, its closing reply and ABOR.
#include "platform/inet/FtpConnection_p.h"

#include <QRegularExpression>

namespace inet {

using detail::DataChannel;
using detail::Reply;

namespace {

// "229 Entering Extended Passive Mode (|||6446|)": any delimiter character.
bool epsvPort(const QByteArray &text, quint16 &port)
{
    const qsizetype open = text.indexOf('(');
    if (open < 0 || open + 4 >= text.size())
        return false;
    const char delim = text[open + 1];
    if (text[open + 2] != delim || text[open + 3] != delim)
        return false;
    const qsizetype end = text.indexOf(delim, open + 4);
    bool ok = false;
    const uint value = text.mid(open + 4, end - open - 4).toUInt(&ok);
    port = quint16(value);
    return ok && end > 0 && value > 0 && value < 65536;
}

// "227 Entering Passive Mode (h1,h2,h3,h4,p1,p2)": only the port is used.
bool pasvPort(const QByteArray &text, quint16 &port)
{
    static const QRegularExpression re(QStringLiteral("(\\d+),(\\d+),(\\d+),(\\d+),(\\d+),(\\d+)"));
    const QRegularExpressionMatch m = re.match(QString::fromLatin1(text));
    if (!m.hasMatch())
        return false;
    const uint hi = m.captured(5).toUInt(), lo = m.captured(6).toUInt();
    if (hi > 255 || lo > 255 || (hi == 0 && lo == 0))
        return false;
    port = quint16(hi * 256 + lo);
    return true;
}

QByteArray portCommand(const QHostAddress &address, quint16 port)
{
    const quint32 a = address.toIPv4Address();
    return QStringLiteral("PORT %1,%2,%3,%4,%5,%6")
        .arg(a >> 24).arg((a >> 16) & 255).arg((a >> 8) & 255).arg(a & 255)
        .arg(port >> 8).arg(port & 255).toLatin1();
}

QByteArray eprtCommand(const QHostAddress &address, quint16 port)
{
    const bool v4 = address.protocol() == QAbstractSocket::IPv4Protocol;
    return QStringLiteral("EPRT |%1|%2|%3|").arg(v4 ? 1 : 2).arg(address.toString()).arg(port).toLatin1();
}

} // namespace

bool FtpConnectionPrivate::openDataChannel(DataChannel &data)
{
    Reply reply;
    quint32 error = NoError;
    // Under TLS every data connection is TLS too, never plain.
    data.setTls(control.tls() ? tls.get() : nullptr);
    if (passive) {
        quint16 port = 0;
        if (!epsvRefused) {
            if (!exchange("EPSV", reply))
                return false;
            if (reply.code != 229 || !epsvPort(reply.text, port)) {
                port = 0;
                epsvRefused = reply.kind() == 5;
            }
        }
        if (port == 0) {
            if (!exchange("PASV", reply))
                return false;
            if (reply.code != 227 || !pasvPort(reply.text, port))
                return fail(ErrorExtended);
        }
        // The address in the reply is ignored: a server behind NAT (or one that
        // wants us to reach a third host) names the wrong one.
        if (!data.connectTo(control.peerAddress(), port, timeouts().dataMs, error))
            return fail(error);
        return true;
    }
    const QHostAddress local = control.localAddress();
    if (!data.listen(local, error))
        return fail(error);
    if (local.protocol() == QAbstractSocket::IPv4Protocol && !portRefused) {
        if (!exchange(portCommand(local, data.listenPort()), reply))
            return false;
        if (reply.kind() == 2)
            return true;
        portRefused = reply.kind() == 5;
        if (!portRefused)
            return fail(ErrorExtended);
    }
    if (!exchange(eprtCommand(local, data.listenPort()), reply))
        return false;
    return reply.kind() == 2 || fail(ErrorExtended);
}

bool FtpConnectionPrivate::startTransfer(const QByteArray &command, bool upload, DataChannel &data,
                                         TransferState &st)
{
    if (isUnsafeLine(command))
        return fail(ErrorLineBreak);
    st = TransferState();
    if (!openDataChannel(data) || !send(command)) {
        data.abort();
        return false;
    }
    if (!waitForStart(upload, data, st)) {
        data.abort();
        return false;
    }
    return succeed();
}

// The transfer has started once the server said so (1xx, or a 2xx straight
// away) and the data connection stands (with TLS: its handshake done), or
// once data arrived before any reply. A refusal (4xx/5xx) can come at any
// point until then.
bool FtpConnectionPrivate::waitForStart(bool upload, DataChannel &data, TransferState &st)
{
    QDeadlineTimer deadline = replyDeadline();
    bool answered = false;
    // A TLS handshake on a data connection that stands already is started
    // at once: the server waits for our first message.
    bool kick = data.isConnected();
    const QHostAddress peer = control.peerAddress();
    for (;;) {
        const bool handshaking = data.isConnected() && !data.isReady();
        int fds[2] = {control.descriptor(), -1};
        short events[2] = {control.waitEvents(), detail::TlsLayer::WaitReadEvent};
        if (data.isListening() || handshaking || (!upload && data.isConnected() && !data.atEnd())) {
            fds[1] = data.descriptor();
            events[1] = data.waitEvents();
        }
        quint32 waitError = NoError;
        int ready = 0;
        if (kick)
            ready = 2;
        else if (control.hasBufferedLine())
            ready = 1;
        else
            ready = detail::waitReady(fds, events, 2, deadline, waitError);
        kick = false;
        if (ready == 0 && waitError == ErrorStopped) {
            // Stopped before the transfer was under way: the control connection
            // would be out of step with whatever the server answers next.
            data.abort();
            controlLost(ErrorStopped);
            return false;
        }
        if (ready == 0) {
            if (!answered) {
                controlLost(ErrorTimeout);
                return false;
            }
            if (st.finalSeen) {
                data.abort(); // done without ever connecting: nothing to send
                data.setEnded();
                return true;
            }
            abortTransfer(data, st);
            return fail(ErrorTimeout);
        }
        // The data side first: a server that sends everything and hangs up
        // at once makes both ready, and its data must not be lost.
        if (ready & 2) {
            const DataStart start = dataReady(data, peer, answered, upload, st);
            if (start != DataStart::Waiting)
                return start == DataStart::Started;
        }
        if (ready & 1) {
            Reply reply;
            if (!readReply(reply, deadline))
                return false;
            if (reply.kind() != 1 && reply.kind() != 2)
                return fail(ErrorExtended);
            answered = true;
            if (reply.kind() == 2) {
                st.finalSeen = true;
                st.finalReply = reply;
            }
            if (data.isReady())
                return true;
            deadline = QDeadlineTimer(timeouts().dataMs); // the server connects to us now
        }
    }
}

// Something on the data side during waitForStart().
FtpConnectionPrivate::DataStart FtpConnectionPrivate::dataReady(DataChannel &data, const QHostAddress &peer,
                                                                bool answered, bool upload, TransferState &st)
{
    // Some servers connect as soon as they get PORT: the connection alone
    // does not mean that the command was accepted.
    if (data.isListening() && !data.acceptPending(peer))
        return DataStart::Waiting;
    if (!data.isConnected())
        return DataStart::Waiting;
    if (!data.isReady()) {
        quint32 error = NoError;
        const detail::TlsLayer::Step step = data.handshakeStep(error);
        if (step == detail::TlsLayer::Step::WantRead || step == detail::TlsLayer::Step::WantWrite)
            return DataStart::Waiting;
        const bool trusted = step == detail::TlsLayer::Step::Done && trustDataPeer(data);
        if (!trusted) {
            // Never a fallback to plain data: the transfer fails, and the
            // server's side of it is wound up so the connection stays usable.
            abortTransfer(data, st);
            fail(step == detail::TlsLayer::Step::Done ? ErrorCertificateRejected : ErrorTlsHandshake);
            return DataStart::Failed;
        }
    }
    if (answered)
        return DataStart::Started;
    if (upload)
        return DataStart::Waiting;
    quint32 error = NoError;
    if (!data.fillNow(error) && error != NoError) {
        fail(error);
        return DataStart::Failed;
    }
    // Data before the 1xx: the reply is read at the end. Only the end of the
    // data: the reply says whether that is all.
    return data.available() > 0 ? DataStart::Started : DataStart::Waiting;
}

bool FtpConnectionPrivate::finishTransfer(TransferState &st)
{
    if (!st.finalSeen) {
        const QDeadlineTimer deadline = replyDeadline();
        Reply reply;
        do {
            if (!readReply(reply, deadline))
                return false;
        } while (reply.kind() == 1); // a 1xx may even come after the data
        st.finalSeen = true;
        st.finalReply = reply;
    }
    setLastResponseInfo(decodeName(st.finalReply.text));
    return st.finalReply.kind() == 2 ? succeed() : fail(ErrorExtended);
}

bool FtpConnectionPrivate::abortTransfer(DataChannel &data, TransferState &st)
{
    data.abort(); // first, so that a server blocked on sending notices
    if (st.finalSeen || !control.isOpen())
        return control.isOpen() ? succeed() : fail(deadError);
    // How many replies ABOR brings depends on the server and on the moment; a
    // PWD after it marks the end of them (its 257 answers nothing else).
    if (!send("ABOR") || !send("PWD"))
        return false;
    const QDeadlineTimer deadline = replyDeadline();
    Reply reply;
    QByteArray last;
    for (int finals = 0; finals < 3;) {
        if (!readReply(reply, deadline))
            return false;
        if (reply.kind() == 1)
            continue;
        ++finals;
        if (reply.code == 257)
            break;
        last = reply.text;
    }
    st.finalSeen = true;
    if (!last.isEmpty())
        setLastResponseInfo(decodeName(last));
    return succeed();
}

// ---- remote files --------------------------------------------------------------

std::unique_ptr<FtpFile> FtpConnection::openFile(const QString &name, quint32 access, quint32 transferFlags)
{
    return openFile(name, access, transferFlags, 0);
}

bool FtpConnectionPrivate::restart(qint64 offset)
{
    Reply reply;
    if (!exchange("REST " + QByteArray::number(offset), reply))
        return false;
    return reply.code == 350 ? succeed() : fail(ErrorExtended);
}

std::unique_ptr<FtpFile> FtpConnection::openFile(const QString &name, quint32 access, quint32 transferFlags,
                                                 qint64 offset)
{
    const QByteArray raw = encodeName(name);
    if (FtpConnectionPrivate::isUnsafeLine(raw)) {
        d->fail(ErrorLineBreak);
        return nullptr;
    }
    const bool upload = (access & GENERIC_WRITE) != 0;
    if (upload == ((access & GENERIC_READ) != 0)) {
        d->fail(ErrorInternal); // exactly one direction
        return nullptr;
    }
    if (!d->usable(true) || !d->setType((transferFlags & FTP_TRANSFER_TYPE_ASCII) ? 'A' : 'I'))
        return nullptr;
    std::unique_ptr<FtpFile> file(new FtpFile);
    FtpFilePrivate &f = *file->d;
    f.upload = upload;
    f.data.setResetOnAbort(upload);
    QByteArray verb = upload ? "STOR " : "RETR ";
    if (offset > 0) {
        // Whether the server takes REST is its answer's to tell (350): FEAT
        // does not always list "REST STREAM" where it works.
        if (d->restart(offset))
            f.start = offset;
        else if (!d->control.isOpen())
            return nullptr;
        else if (upload)
            verb = "APPE ", f.start = offset; // the server's file holds `offset` bytes: add the rest
    }
    if (!d->startTransfer(verb + raw, upload, f.data, f.st)) {
        if (verb != "APPE " || lastError() != ErrorExtended || !d->control.isOpen())
            return nullptr;
        // Neither REST nor APPE: the whole file again.
        f.start = 0;
        if (!d->startTransfer("STOR " + raw, upload, f.data, f.st))
            return nullptr;
    }
    f.conn = d.get();
    f.open = true;
    d->openFile = file.get();
    return file;
}

FtpFile::FtpFile() : d(std::make_unique<FtpFilePrivate>()) {}

FtpFile::~FtpFile()
{
    if (d->open) {
        const quint32 error = lastError();
        const QString response = lastResponseInfo();
        d->abandon();
        setLastError(error);
        setLastResponseInfo(response);
    }
}

bool FtpFile::read(char *buffer, quint32 size, quint32 &got)
{
    got = 0;
    return d->read(buffer, size, got);
}

bool FtpFile::write(const char *buffer, quint32 size, quint32 &written)
{
    written = 0;
    return d->write(buffer, size, written);
}

bool FtpFile::close() { return d->close(); }
qint64 FtpFile::bytesTransferred() const { return d->transferred; }
qint64 FtpFile::startOffset() const { return d->start; }

} // namespace inet
