// The worker's connection and its one-shot commands: login, folders, names,
// raw commands, listings and the folder walk of the queue's expansion.
#include "session/FtpWorker.h"

#include "session/FileTypes.h"

#include <QThread>

namespace ftp {

namespace {

QString joinRemote(const QString &folder, const QString &name)
{
    return folder.endsWith(QLatin1Char('/')) ? folder + name : folder + QLatin1Char('/') + name;
}

QString lastComponent(QString path)
{
    while (path.size() > 1 && path.endsWith(QLatin1Char('/')))
        path.chop(1);
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

bool changesFolder(const QString &line)
{
    const QString verb = line.trimmed().section(QLatin1Char(' '), 0, 0).toUpper();
    return verb == QLatin1String("CWD") || verb == QLatin1String("CDUP") || verb == QLatin1String("XCWD")
           || verb == QLatin1String("XCUP");
}

} // namespace

FtpWorker::FtpWorker(LoginPtr login, std::shared_ptr<WorkerControl> control)
    : m_login(std::move(login)), m_control(std::move(control))
{
}

FtpWorker::~FtpWorker()
{
    // The session closes the connection: politely unless the owner is gone.
    m_session.reset();
}

void FtpWorker::execute(quint64 id, const Command &command)
{
    if (!m_control->begin(id)) {
        Result stopped;
        stopped.outcome = Outcome::Stopped;
        stopped.error = inet::ErrorStopped;
        emit finished(id, stopped);
        return;
    }
    inet::setStopFlag(m_control->stopFlag());
    if (!m_session) {
        m_session = std::make_unique<inet::InternetSession>(QStringLiteral("TarvoFtp"));
        m_session->setTimeouts(m_login->timeouts);
    }
    m_current = id;
    Result result = std::visit([this](const auto &c) { return run(c); }, command);
    if (m_control->stopRequested() && result.outcome == Outcome::Failed)
        result.outcome = Outcome::Stopped;
    m_current = 0;
    m_control->end();
    emit finished(id, result);
}

// ---- plumbing --------------------------------------------------------------------

Result &FtpWorker::failed(Result &result) const
{
    result.error = inet::lastError();
    if (result.error == inet::NoError)
        result.error = inet::ErrorInternal;
    result.response = inet::lastResponseInfo();
    result.outcome = result.error == inet::ErrorStopped || m_control->stopRequested() ? Outcome::Stopped
                                                                                       : Outcome::Failed;
    return result;
}

Result &FtpWorker::succeeded(Result &result) const
{
    result.outcome = Outcome::Done;
    result.error = inet::NoError;
    result.response = inet::lastResponseInfo();
    return result;
}

bool FtpWorker::login(Result &result)
{
    inet::ConnectOptions options;
    options.tls = m_login->tls;
    options.extraCaCertificates = m_login->extraCaCertificates;
    options.frenchTexts = m_login->frenchTexts;
    // Once the owner accepted a certificate, the connections made again
    // trust it without asking a second time.
    options.trustedSha256 = m_accepted.isEmpty() ? m_login->trustedSha256 : m_accepted;
    options.check = [this](const inet::CertificateInfo &info) { return askCertificate(info); };
    m_connection = m_session->connectFtp(m_login->host, m_login->port, m_login->user, m_login->password,
                                         m_login->passive ? inet::INTERNET_FLAG_PASSIVE : 0, options);
    if (!m_connection) {
        failed(result);
        return false;
    }
    result.text = inet::lastResponseInfo(); // the greeting and the welcome
    result.encrypted = m_connection->isEncrypted();
    result.tlsProtocol = m_connection->tlsProtocol();
    result.tlsCipher = m_connection->tlsCipher();
    m_everConnected = true;
    m_namesHere.reset();
    return true;
}

bool FtpWorker::askCertificate(const inet::CertificateInfo &info)
{
    Request request;
    request.id = ++m_nextRequest;
    request.command = m_current;
    request.kind = Request::Kind::Certificate;
    request.certificate = info;
    emit requested(request);
    int answer = 0;
    if (!m_control->waitAnswer(request.id, answer) || answer != 1)
        return false;
    m_accepted = info.sha256;
    return true;
}

bool FtpWorker::ensureConnected(Result &result)
{
    if (m_connection && m_connection->checkAlive())
        return true;
    if (!m_everConnected) {
        inet::setLastError(inet::ErrorIncorrectHandleState);
        failed(result);
        return false;
    }
    // The server hung up meanwhile (idle time-out), or a stop cut a reply
    // short: the next command gets a fresh connection in the same folder.
    emit reconnecting(m_current);
    if (m_connection)
        m_session->closeConnection(m_connection);
    m_connection = nullptr;
    Result login;
    if (!this->login(login)) {
        result = login;
        return false;
    }
    if (!m_folder.isEmpty() && !m_connection->setCurrentDirectory(m_folder))
        readFolder(m_folder);
    return true;
}

bool FtpWorker::readFolder(QString &folder)
{
    QString dir;
    if (!m_connection->getCurrentDirectory(dir))
        return false;
    if (dir != m_folder)
        m_namesHere.reset();
    m_folder = folder = dir;
    return true;
}

bool FtpWorker::enter(const QString &folder, bool createMissing, Result &result)
{
    if (!m_connection->setCurrentDirectory(folder)) {
        if (!createMissing || m_control->stopRequested()) {
            failed(result);
            return false;
        }
        m_connection->createDirectory(folder);
        if (!m_connection->setCurrentDirectory(folder)) {
            failed(result);
            return false;
        }
    }
    result.response = inet::lastResponseInfo();
    m_namesHere.reset();
    QString here;
    if (!readFolder(here)) {
        // A stop or a time-out closed the connection: where it was is
        // unknown, and the next connection goes back to the folder before.
        if (!m_connection->isAlive()) {
            failed(result);
            return false;
        }
        // A server without PWD: the folder asked for is the best guess.
        m_folder = folder;
    }
    return true;
}

// /a/b/c visits /a, /a/b and /a/b/c, making each missing level.
bool FtpWorker::enterLevelByLevel(const QString &folder, Result &result)
{
    const QStringList parts = folder.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QString done;
    for (int i = 0; i + 1 < parts.size(); ++i) {
        done += QLatin1Char('/') + parts.at(i);
        Result level;
        if (!enter(done, true, level) && level.outcome == Outcome::Stopped) {
            result = level;
            return false;
        }
    }
    return enter(folder, true, result);
}

bool FtpWorker::listHere(const QString &filter, std::vector<inet::FindRecord> &entries, Result &result,
                         inet::ListingSummary *summary)
{
    inet::FindRecord record;
    std::unique_ptr<inet::FtpFind> find = m_connection->findFirstFile(filter, record);
    if (summary)
        *summary = m_connection->lastListingSummary();
    if (!find) {
        if (inet::lastError() == inet::ErrorNoMoreFiles)
            return true; // an empty folder, or nothing that matches
        failed(result);
        return false;
    }
    entries.reserve(find->remaining() + 1);
    entries.push_back(record);
    while (find->next(record))
        entries.push_back(record);
    const bool whole = inet::lastError() == inet::ErrorNoMoreFiles;
    if (!whole)
        failed(result);
    find->close();
    return whole;
}

// ---- commands --------------------------------------------------------------------

Result FtpWorker::run(const Connect &)
{
    Result result;
    if (m_connection)
        m_session->closeConnection(m_connection);
    m_connection = nullptr;
    m_folder.clear();
    if (!login(result))
        return result;
    const QString welcome = result.text;
    readFolder(result.folder);
    succeeded(result);
    result.text = welcome;
    result.response = welcome;
    return result;
}

Result FtpWorker::run(const List &c)
{
    Result result;
    if (!ensureConnected(result))
        return result;
    if (!c.folder.isEmpty() && !enter(c.folder, false, result))
        return result;
    Folder folder;
    const bool listed = listHere(c.filter, folder.entries, result, &folder.summary);
    // What was read before a failure still shows.
    Result pwd;
    readFolder(result.folder);
    folder.path = m_folder;
    result.folders = std::make_shared<const std::vector<Folder>>(std::vector<Folder>{std::move(folder)});
    if (!listed)
        return result;
    return succeeded(result);
}

Result FtpWorker::run(const ChangeDir &c)
{
    Result result;
    if (!ensureConnected(result) || !enter(c.folder, c.createMissing, result))
        return result;
    const QString reply = result.response;
    succeeded(result);
    result.response = reply; // the answer to CWD, not to the PWD after it
    result.folder = m_folder;
    return result;
}

Result FtpWorker::run(const PrintDir &)
{
    Result result;
    if (!ensureConnected(result))
        return result;
    if (!readFolder(result.folder))
        return failed(result);
    return succeeded(result);
}

Result FtpWorker::run(const MakeDir &c)
{
    Result result;
    if (!ensureConnected(result))
        return result;
    m_namesHere.reset();
    return m_connection->createDirectory(c.folder) ? succeeded(result) : failed(result);
}

Result FtpWorker::run(const RemoveDir &c)
{
    Result result;
    if (!ensureConnected(result))
        return result;
    m_namesHere.reset();
    return m_connection->removeDirectory(c.folder) ? succeeded(result) : failed(result);
}

Result FtpWorker::run(const Delete &c)
{
    Result result;
    if (!ensureConnected(result))
        return result;
    m_namesHere.reset();
    return m_connection->deleteFile(c.name) ? succeeded(result) : failed(result);
}

Result FtpWorker::run(const Rename &c)
{
    Result result;
    if (!ensureConnected(result))
        return result;
    m_namesHere.reset();
    return m_connection->renameFile(c.from, c.to) ? succeeded(result) : failed(result);
}

Result FtpWorker::run(const Raw &c)
{
    Result result;
    if (!ensureConnected(result))
        return result;
    m_namesHere.reset();
    const bool sent = m_connection->command(c.line);
    sent ? succeeded(result) : failed(result);
    result.text = result.response;
    if (sent && changesFolder(c.line)) {
        const QString reply = result.response;
        readFolder(result.folder);
        result.response = reply;
    }
    return result;
}

Result FtpWorker::run(const Chmod &c)
{
    return run(Raw{QStringLiteral("SITE CHMOD ") + c.mode + QLatin1Char(' ') + c.path});
}

Result FtpWorker::run(const Size &c)
{
    Result result;
    if (!ensureConnected(result))
        return result;
    inet::FindRecord record;
    std::unique_ptr<inet::FtpFind> find = m_connection->findFirstFile(c.name, record);
    if (find) {
        find->close();
        succeeded(result);
        result.size = record.size;
        return result;
    }
    if (inet::lastError() == inet::ErrorNoMoreFiles) {
        succeeded(result); // no such file: size -1
        return result;
    }
    return failed(result);
}

Result FtpWorker::run(const Walk &c)
{
    Result result;
    if (!ensureConnected(result))
        return result;
    const QString saved = m_folder;
    auto folders = std::make_shared<std::vector<Folder>>();
    walkInto(c.folder, lastComponent(c.folder), 1, *folders);
    if (m_control->stopRequested()) {
        inet::setLastError(inet::ErrorStopped);
        return failed(result);
    }
    // Back where the walk began, so that the pane's folder is the session's.
    if (!saved.isEmpty() && m_folder != saved) {
        Result back;
        enter(saved, false, back);
    }
    succeeded(result);
    result.folder = m_folder;
    result.folders = std::move(folders);
    return result;
}

void FtpWorker::walkInto(const QString &path, const QString &relative, int depth, std::vector<Folder> &out)
{
    if (m_control->stopRequested())
        return;
    Folder folder;
    folder.path = path;
    folder.relative = relative;
    Result entered;
    if (depth > kMaxRemoteDepth || !enter(path, false, entered)) {
        folder.entered = false;
        folder.tooDeep = depth > kMaxRemoteDepth;
        out.push_back(std::move(folder));
        return;
    }
    Result listed;
    // What was read before a failure counts.
    listHere(QStringLiteral("*.*"), folder.entries, listed, &folder.summary);
    const size_t self = out.size();
    out.push_back(std::move(folder));
    const std::vector<inet::FindRecord> entries = out[self].entries;
    for (size_t i = 0; i < entries.size(); ++i) {
        const inet::FindRecord &e = entries[i];
        if (isUnsafeRemoteName(e.name))
            continue;
        const bool link = e.attributes & inet::FILE_ATTRIBUTE_REPARSE_POINT;
        const bool directory = e.attributes & inet::FILE_ATTRIBUTE_DIRECTORY;
        if (link && linkLeadsBack(path, e.linkTarget))
            continue;
        const QString child = joinRemote(path, e.name);
        if (!directory && (link || e.attributes == 0)) {
            // Only the server can tell: a folder if it lets us in.
            Result probe;
            const bool folderAfterAll = depth + 1 <= kMaxRemoteDepth && enter(child, false, probe);
            out[self].entries[i].attributes = folderAfterAll ? inet::FILE_ATTRIBUTE_DIRECTORY
                                                             : inet::FILE_ATTRIBUTE_NORMAL;
            if (!folderAfterAll)
                continue;
        } else if (!directory) {
            continue;
        }
        walkInto(child, relative + QLatin1Char('/') + e.name, depth + 1, out);
    }
}

Result FtpWorker::run(const Close &)
{
    if (m_connection)
        m_session->closeConnection(m_connection);
    m_connection = nullptr;
    m_everConnected = false;
    QThread::currentThread()->quit();
    Result result;
    return succeeded(result);
}

} // namespace ftp
