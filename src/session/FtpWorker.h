#pragma once
// One FTP connection on a thread of its own. The worker owns the library's
// connection, takes the commands its owner sends (queued calls of execute(),
// run one after the other), and answers each with a result; progress, the
// server's replies worth a log line and questions for the user go out as
// signals. Nothing here touches the program-wide session state: the owner
// writes that from the results, on its own thread.

#include "session/FtpCommand.h"
#include "session/WorkerControl.h"

#include <QObject>
#include <QHash>

#include <functional>
#include <memory>
#include <optional>

namespace ftp {

class FtpWorker : public QObject {
    Q_OBJECT
public:
    FtpWorker(LoginPtr login, std::shared_ptr<WorkerControl> control);
    ~FtpWorker() override;

    // A transfer in binary form (offsets, hashes and sizes mean the same on both sides).
    static bool isBinary(quint32 transferType);
    // The connection dropped or timed out (rather than the server refusing).
    static bool isInterruption(quint32 error);

public slots:
    void execute(quint64 id, const ftp::Command &command);

signals:
    void finished(quint64 id, const ftp::Result &result);
    // The design's transfer progress: after every 8000 bytes or so and at the
    // end, at most every few tens of milliseconds across the threads.
    void progress(quint64 id, qint64 current, qint64 total);
    // A server reply the log shows (state 9: a download asked for its file,
    // 12: a transfer opened or ended).
    void stateChanged(quint64 id, int state, const QString &message);
    // The connection had gone and is being made again.
    void reconnecting(quint64 id);
    void noted(quint64 id, const ftp::TransferNote &note);
    // A folder of a walk, as soon as it is listed.
    void walked(quint64 id, const ftp::Folder &folder);
    void requested(const ftp::Request &request);

private:
    friend struct CommandRunner;
    Result run(const Connect &);
    Result run(const List &c);
    Result run(const ChangeDir &c);
    Result run(const PrintDir &);
    Result run(const MakeDir &c);
    Result run(const RemoveDir &c);
    Result run(const Delete &c);
    Result run(const Rename &c);
    Result run(const Raw &c);
    Result run(const Chmod &c);
    Result run(const Size &c);
    Result run(const Walk &c);
    Result run(const Retrieve &c);
    Result run(const Store &c);
    Result run(const Close &);

    // The connection, made again when it was lost (once per command).
    bool ensureConnected(Result &result);
    bool login(Result &result);
    // The certificate question, asked on this thread while the owner answers.
    bool askCertificate(const inet::CertificateInfo &info);
    // The library's last failure (or a stop) as this result.
    Result &failed(Result &result) const;
    Result &succeeded(Result &result) const;
    // Where the connection is after a change of folder: as the server says
    // (PWD), or, for a plain absolute path, the path asked for.
    enum class Where { AskServer, AsGiven };
    bool enter(const QString &folder, bool createMissing, Result &result, Where where = Where::AskServer);
    bool enterLevelByLevel(const QString &folder, Result &result);
    bool readFolder(QString &folder);
    bool listHere(const QString &filter, std::vector<inet::FindRecord> &entries, Result &result,
                  inet::ListingSummary *summary = nullptr);
    // trail: the MLSD "unique" facts of the folders the walk stands in,
    // outermost first (empty where the server gave none); reachedAs: the
    // fact of the entry the walk came by.
    void walkInto(const QString &path, const QString &relative, int depth, QList<QByteArray> &trail,
                  const QByteArray &reachedAs);
    QByteArray walkedFolderUnique(const Folder &folder, const QByteArray &reachedAs, int depth,
                                  QList<QByteArray> &trail);
    QByteArray uniqueOf(const QString &name);
    // Asks the owner (the request's id and command are filled in here);
    // nullopt when stopped while waiting.
    std::optional<ExistsAnswer> askExists(Request request);
    // The entries of the current folder, read once per folder entered (uploads
    // ask the question for the names in it); the entry of `name` when it exists.
    bool existsHere(const QString &name, Result &result, inet::FindRecord *entry = nullptr);
    void emitProgress(qint64 current, qint64 total, bool last);
    void note(TransferNote::Kind kind, qint64 offset = 0);

    // One try of a transfer from byte `offset` (FtpWorkerTransfer.cpp).
    Result retrieveFrom(const Retrieve &c, const QString &localPath, qint64 offset);
    Result storeFrom(const Store &c, qint64 offset);
    // After a whole transfer: the server's hash of the file against ours, or
    // else its size; a mismatch fails `result`.
    bool verify(const QString &name, inet::Digest &digest, qint64 size, Result &result, qint64 listedSize = -1);
    // Before try `attempt` (2 and on): the pause, the log's note and the
    // connection made again in `folder`. False when that cannot be (result says why).
    bool prepareRetry(const RetryPolicy &policy, int attempt, const QString &folder, Result &result);
    // Runs `once` (given the last try's result from the second try on) until it
    // succeeds, fails as another try would not mend, or the retries are spent.
    Result withRetries(const RetryPolicy &policy, const std::function<Result(const Result *previous)> &once);
    // Back to `folder` after a transfer that left it.
    void returnTo(const QString &folder);
    // The bytes of `name` the server holds now; -1 when it does not say.
    qint64 remoteSize(const QString &name);

    LoginPtr m_login;
    std::shared_ptr<WorkerControl> m_control;
    std::unique_ptr<inet::InternetSession> m_session;
    inet::FtpConnection *m_connection = nullptr;
    bool m_everConnected = false;
    QByteArray m_accepted;        // the certificate the owner said to go on with
    QString m_folder;             // the server's current folder, as it last said
    std::optional<QHash<QString, inet::FindRecord>> m_namesHere; // entries of m_folder, once listed
    quint64 m_namesRun = 0;       // the queue's run they were listed for
    quint64 m_current = 0;        // the command that runs
    quint64 m_nextRequest = 0;
    qint64 m_lastProgressMs = -1;
};

} // namespace ftp
