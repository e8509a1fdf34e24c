#pragma once
// Waiting for the engine's answers in tests: the session and the queue work in
// the background and report on this thread, so a test runs the event loop
// until what it waits for has come (never for a fixed time).

#include "session/clsFTPClient.h"
#include "transfer/TransferQueue.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>

#include <functional>

namespace testwait {

// Runs the event loop until `done` holds or `ms` have passed; false then.
inline bool until(const std::function<bool()> &done, int ms = 60000)
{
    QDeadlineTimer deadline(ms);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QEventLoop loop;
        QTimer::singleShot(5, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

// One session member, given a function for its result: the result.
inline ftp::Result result(const std::function<void(clsFTPClient::Done)> &start)
{
    ftp::Result out;
    bool done = false;
    start([&](const ftp::Result &r) {
        out = r;
        done = true;
    });
    until([&] { return done; });
    return out;
}

// Runs the queue (the folders still being listed first) until it has ended.
inline void run(TransferQueue &queue)
{
    until([&] { return !queue.isExpanding(); });
    queue.RunTransferQueue();
    until([&] { return !queue.isRunning() && !queue.isExpanding(); });
}

// Opens a session on a server; true when it logged in.
inline bool open(clsFTPClient &ftp, const QString &host, quint16 port, const QString &user,
                 const QString &password, bool passive)
{
    const ftp::Result r = result([&](clsFTPClient::Done done) {
        ftp.OpenConnection(host, QString::number(port), user, password, passive ? 0x08000000 : 0, done);
    });
    return r.ok();
}

} // namespace testwait
