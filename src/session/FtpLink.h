#pragma once
// The owner's handle on one FTP connection: it starts the connection's worker
// on a thread of its own, sends it commands, and hands each result to the
// function given with the command, on the owner's thread. Progress, log lines
// and the worker's questions come as signals. Nothing here ever waits on the
// network, except run(), which front ends without a window use.
//
// Destroying the handle stops what runs, drops what waits and lets the
// connection end on its own thread; results still on their way are dropped.

#include "session/FtpCommand.h"

#include <QObject>

#include <functional>
#include <map>
#include <memory>

class QThread;

namespace ftp {

class FtpWorker;
class WorkerControl;

class FtpLink : public QObject {
    Q_OBJECT
public:
    using Done = std::function<void(const Result &)>;

    explicit FtpLink(LoginParams login, QObject *parent = nullptr);
    ~FtpLink() override;

    const LoginParams &login() const { return *m_login; }

    // Queues a command; `done` runs on this thread with its result. The id
    // names the command in cancel() and in the signals.
    quint64 submit(Command command, Done done = {});
    // The command answers Stopped: at once when it still waits, at its next
    // block or wait when it runs (a transfer is aborted, its partial file kept).
    void cancel(quint64 id);
    // Every command sent so far.
    void cancelAll();
    // The answer to a question of the worker (ExistsAnswer values, or 1/0
    // for a certificate).
    void answer(quint64 requestId, int value);

    // Commands sent and not answered yet.
    int pending() const { return int(m_pending.size()); }
    bool isIdle() const { return m_pending.empty(); }

    // Sends a command and waits for its result with a local event loop. For
    // front ends without a window and for tests: a window never waits.
    Result run(Command command);

    // At the end of the program: ends every connection at once (no goodbye)
    // and waits up to `ms` for their threads; false when one is still running.
    static bool closeAll(int ms);
    // Connection threads still running (a handle that went away leaves its
    // thread to end on its own once the goodbye is over).
    static int liveCount();

signals:
    void finished(quint64 id, const ftp::Result &result);
    void progress(quint64 id, qint64 current, qint64 total);
    void stateChanged(quint64 id, int state, const QString &message);
    void reconnecting(quint64 id);
    // A transfer started at an offset, starts over, tries again or was verified.
    void noted(quint64 id, const ftp::TransferNote &note);
    // A walk's folder as soon as it is listed, before the walk's result.
    void walked(quint64 id, const ftp::Folder &folder);
    // The file-exists question.
    void requested(const ftp::Request &request);
    // A certificate nothing vouches for: answer 1 to go on, 0 to give up.
    void certificateRequested(const ftp::Request &request);

private:
    void deliver(quint64 id, const Result &result);

    LoginPtr m_login;
    std::shared_ptr<WorkerControl> m_control;
    QThread *m_thread = nullptr;
    FtpWorker *m_worker = nullptr;
    quint64 m_lastId = 0;
    std::map<quint64, Done> m_pending;
};

} // namespace ftp
