#include "session/FtpLink.h"

#include "session/FtpWorker.h"
#include "session/WorkerControl.h"

#include <QEventLoop>
#include <QMetaMethod>
#include <QThread>

#include <limits>
#include <mutex>
#include <vector>

namespace ftp {

namespace {

// Every worker thread still running, so that the end of the program can end
// them all and wait for them: a thread must not outlive the program's objects.
struct LiveThread {
    QThread *thread;
    std::shared_ptr<WorkerControl> control;
};
std::mutex liveMutex;
std::vector<LiveThread> liveThreads;

void registerThread(QThread *thread, std::shared_ptr<WorkerControl> control)
{
    std::lock_guard lock(liveMutex);
    liveThreads.push_back({thread, std::move(control)});
}

void forgetThread(QThread *thread)
{
    std::lock_guard lock(liveMutex);
    std::erase_if(liveThreads, [thread](const LiveThread &t) { return t.thread == thread; });
}

void registerTypes()
{
    static std::once_flag once;
    std::call_once(once, [] {
        qRegisterMetaType<ftp::Command>();
        qRegisterMetaType<ftp::Result>();
        qRegisterMetaType<ftp::Request>();
        qRegisterMetaType<ftp::TransferNote>();
        qRegisterMetaType<ftp::Folder>();
    });
}

} // namespace

FtpLink::FtpLink(LoginParams login, QObject *parent)
    : QObject(parent), m_login(std::make_shared<const LoginParams>(std::move(login))),
      m_control(std::make_shared<WorkerControl>())
{
    registerTypes();
    m_thread = new QThread;
    m_thread->setObjectName(QStringLiteral("ftp ") + m_login->host);
    m_worker = new FtpWorker(m_login, m_control);
    m_worker->moveToThread(m_thread);
    QThread *thread = m_thread;
    FtpWorker *worker = m_worker;
    // The worker ends with its thread, on its thread; the thread object goes
    // later, on ours.
    connect(m_thread, &QThread::finished, worker, [worker, thread] {
        forgetThread(thread);
        delete worker;
        inet::releaseThreadState();
    }, Qt::DirectConnection);
    connect(m_thread, &QThread::finished, m_thread, &QObject::deleteLater);
    connect(m_worker, &FtpWorker::finished, this, &FtpLink::deliver);
    connect(m_worker, &FtpWorker::progress, this, &FtpLink::progress);
    connect(m_worker, &FtpWorker::stateChanged, this, &FtpLink::stateChanged);
    connect(m_worker, &FtpWorker::reconnecting, this, &FtpLink::reconnecting);
    connect(m_worker, &FtpWorker::noted, this, &FtpLink::noted);
    connect(m_worker, &FtpWorker::walked, this, &FtpLink::walked);
    connect(m_worker, &FtpWorker::requested, this, [this](const Request &request) {
        // Nobody to ask: the file question is cancelled, the certificate refused.
        const bool certificate = request.kind == Request::Kind::Certificate;
        const QMetaMethod signal = certificate ? QMetaMethod::fromSignal(&FtpLink::certificateRequested)
                                               : QMetaMethod::fromSignal(&FtpLink::requested);
        if (!isSignalConnected(signal))
            answer(request.id, certificate ? 0 : int(ExistsAnswer::Cancel));
        else if (certificate)
            emit certificateRequested(request);
        else
            emit requested(request);
    });
    registerThread(m_thread, m_control);
    m_thread->start();
}

FtpLink::~FtpLink()
{
    m_control->cancelAll(m_lastId);
    m_pending.clear();
    // The goodbye goes on without us; the thread ends after it.
    FtpWorker *worker = m_worker;
    const quint64 id = ++m_lastId;
    QMetaObject::invokeMethod(m_worker, [worker, id] { worker->execute(id, Close{}); }, Qt::QueuedConnection);
}

quint64 FtpLink::submit(Command command, Done done)
{
    const quint64 id = ++m_lastId;
    m_pending.emplace(id, std::move(done));
    FtpWorker *worker = m_worker;
    QMetaObject::invokeMethod(
        m_worker, [worker, id, command = std::move(command)] { worker->execute(id, command); },
        Qt::QueuedConnection);
    return id;
}

void FtpLink::cancel(quint64 id)
{
    if (m_pending.count(id))
        m_control->cancel(id);
}

void FtpLink::cancelAll()
{
    m_control->cancelAll(m_lastId);
}

void FtpLink::answer(quint64 requestId, int value)
{
    m_control->answer(requestId, value);
}

void FtpLink::deliver(quint64 id, const Result &result)
{
    auto it = m_pending.find(id);
    if (it == m_pending.end())
        return;
    Done done = std::move(it->second);
    m_pending.erase(it);
    emit finished(id, result);
    if (done)
        done(result);
}

Result FtpLink::run(Command command)
{
    QEventLoop loop;
    Result out;
    bool answered = false;
    submit(std::move(command), [&](const Result &result) {
        out = result;
        answered = true;
        loop.quit();
    });
    if (!answered)
        loop.exec();
    return out;
}

bool FtpLink::closeAll(int ms)
{
    std::vector<LiveThread> threads;
    {
        std::lock_guard lock(liveMutex);
        threads = liveThreads;
    }
    for (const LiveThread &t : threads) {
        t.control->close(std::numeric_limits<quint64>::max());
        t.thread->quit();
    }
    QDeadlineTimer deadline(ms);
    bool ended = true;
    for (const LiveThread &t : threads)
        ended = t.thread->wait(deadline) && ended;
    return ended;
}

int FtpLink::liveCount()
{
    std::lock_guard lock(liveMutex);
    return int(liveThreads.size());
}

} // namespace ftp
