// The worker's connection and its one-shot commands: login, folders, names,
// raw commands, listings and the folder walk of the queue's expansion.
#include "session/FtpWorker.h"

#include "session/FileTypes.h"

#include <QThread>

#include <algorithm>

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

// "/a/b": what a server that took CWD to it answers to PWD. Anything else
// ("a/b", "/a/../b", "/a/", "//a", a path of another system) is asked.
bool isPlainAbsolute(const QString &path)
{
    if (!path.startsWith(QLatin1Char('/')))
        return false;
    if (path.size() == 1)
        return true;
    const QStringList parts = path.mid(1).split(QLatin1Char('/'));
    return std::none_of(parts.begin(), parts.end(), [](const QString &part) {
        return part.isEmpty() || part == QLatin1String(".") || part == QLatin1String("..");
    });
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

bool FtpWorker::enter(const QString &folder, bool createMissing, Result &result, Where where)
{
    bool made = false;
    if (!m_connection->setCurrentDirectory(folder)) {
        if (!createMissing || m_control->stopRequested()) {
            failed(result);
            return false;
        }
        made = m_connection->createDirectory(folder);
        if (!m_connection->setCurrentDirectory(folder)) {
            failed(result);
            return false;
        }
    }
    result.response = inet::lastResponseInfo();
    m_namesHere.reset();
    // A folder made just now holds nothing yet: no listing to ask whether a file is there.
    if (made)
        m_namesHere.emplace();
    // A walk or a transfer names its folders in full: one round trip less a
    // folder than asking the server where it is now.
    if (where == Where::AsGiven && isPlainAbsolute(folder)) {
        m_folder = folder;
        return true;
    }
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

// /a/b/c visits /a, /a/b and /a/b/c, making each missing level; a folder
// that is there already, or whose parent is, is entered at once.
bool FtpWorker::enterLevelByLevel(const QString &folder, Result &result)
{
    if (enter(folder, true, result, Where::AsGiven) || result.outcome == Outcome::Stopped)
        return result.outcome != Outcome::Stopped;
    result = Result();
    const QStringList parts = folder.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QString done;
    for (int i = 0; i + 1 < parts.size(); ++i) {
        done += QLatin1Char('/') + parts.at(i);
        Result level;
        if (!enter(done, true, level, Where::AsGiven) && level.outcome == Outcome::Stopped) {
            result = level;
            return false;
        }
    }
    return enter(folder, true, result, Where::AsGiven);
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
    // The folder is read from the server after the listing.
    if (!c.folder.isEmpty() && !enter(c.folder, false, result, Where::AsGiven))
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
    QList<QByteArray> trail;
    walkInto(c.folder, lastComponent(c.folder), 1, trail, QByteArray());
    if (m_control->stopRequested()) {
        // A stop in the middle of a reply closed the connection: the next
        // one goes back to the folder the session is in, not the walk's.
        if (!m_connection || !m_connection->isAlive())
            m_folder = saved;
        inet::setLastError(inet::ErrorStopped);
        return failed(result);
    }
    // Back where the walk began, so that the pane's folder is the session's.
    if (!saved.isEmpty() && m_folder != saved) {
        Result back;
        enter(saved, false, back, Where::AsGiven);
    }
    succeeded(result);
    result.folder = m_folder;
    return result;
}

namespace {

// A folder the walk stands in already: going in would list it again and again.
bool standsIn(const QList<QByteArray> &trail, const QByteArray &unique)
{
    return !unique.isEmpty() && trail.contains(unique);
}

} // namespace

// Depth first: a folder goes out with its entries final (links and entries
// of no kind already tried), then each of its folders in listing order, so
// that the owner can queue a folder's files before the walk is over.
// A server that lists by MLSD may show a link as a plain folder, or as a
// link with no target: its "unique" facts tell a link back up from a folder.
void FtpWorker::walkInto(const QString &path, const QString &relative, int depth, QList<QByteArray> &trail,
                         const QByteArray &reachedAs)
{
    if (m_control->stopRequested())
        return;
    Folder folder;
    folder.path = path;
    folder.relative = relative;
    if (standsIn(trail, reachedAs)) {
        folder.leadsBack = true;
        emit walked(m_current, folder);
        return;
    }
    Result entered;
    if (depth > kMaxRemoteDepth || !enter(path, false, entered, Where::AsGiven)) {
        folder.entered = false;
        folder.tooDeep = depth > kMaxRemoteDepth;
        emit walked(m_current, folder);
        return;
    }
    Result listed;
    // What was read before a failure counts.
    listHere(QStringLiteral("*.*"), folder.entries, listed, &folder.summary);
    const QByteArray self = walkedFolderUnique(folder, reachedAs, depth, trail);
    if (standsIn(trail, self)) {
        folder.entries.clear();
        folder.leadsBack = true;
        emit walked(m_current, folder);
        return;
    }
    trail.append(self);
    QList<std::pair<QString, QByteArray>> children;
    for (inet::FindRecord &e : folder.entries) {
        if (isUnsafeRemoteName(e.name))
            continue;
        const bool link = e.attributes & inet::FILE_ATTRIBUTE_REPARSE_POINT;
        const bool directory = e.attributes & inet::FILE_ATTRIBUTE_DIRECTORY;
        if (link && linkLeadsBack(path, e.linkTarget))
            continue;
        if (standsIn(trail, e.unique)) {
            // A folder, and one it would never get out of.
            e.attributes = inet::FILE_ATTRIBUTE_DIRECTORY;
        } else if (!directory && (link || e.attributes == 0)) {
            // Only the server can tell: a folder if it lets us in.
            Result probe;
            const bool folderAfterAll = depth + 1 <= kMaxRemoteDepth
                                        && enter(joinRemote(path, e.name), false, probe, Where::AsGiven);
            e.attributes = folderAfterAll ? inet::FILE_ATTRIBUTE_DIRECTORY : inet::FILE_ATTRIBUTE_NORMAL;
            if (!folderAfterAll)
                continue;
        } else if (!directory) {
            continue;
        }
        children.append({e.name, e.unique});
    }
    emit walked(m_current, folder);
    for (const auto &[name, unique] : std::as_const(children))
        walkInto(joinRemote(path, name), relative + QLatin1Char('/') + name, depth + 1, trail, unique);
    trail.removeLast();
}

// The walked folder's "unique" fact: its "cdir" line's, else the entry's it
// was reached by. The walk's first folder was reached by no entry: when its
// entries carry the fact and the listing gave none for the folder itself,
// MLST asks for it, and for its parent's, which then heads the trail.
QByteArray FtpWorker::walkedFolderUnique(const Folder &folder, const QByteArray &reachedAs, int depth,
                                         QList<QByteArray> &trail)
{
    QByteArray self = folder.summary.folderUnique.isEmpty() ? reachedAs : folder.summary.folderUnique;
    if (depth != 1)
        return self;
    QByteArray parent = folder.summary.parentUnique;
    const bool factsGiven = std::any_of(folder.entries.begin(), folder.entries.end(),
                                        [](const inet::FindRecord &e) { return !e.unique.isEmpty(); });
    if (factsGiven && self.isEmpty())
        self = uniqueOf(QStringLiteral("."));
    if (factsGiven && parent.isEmpty() && folder.path != QLatin1String("/"))
        parent = uniqueOf(QStringLiteral(".."));
    trail.append(parent);
    return self;
}

QByteArray FtpWorker::uniqueOf(const QString &name)
{
    inet::FindRecord record;
    std::unique_ptr<inet::FtpFind> find = m_connection->findFirstFile(name, record);
    if (!find)
        return QByteArray();
    find->close();
    return record.unique;
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
