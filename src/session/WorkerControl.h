#pragma once
// What the owner of a connection's worker and the worker share across their
// two threads: which command runs, which ones were cancelled, the stop flag
// the library's waits watch, and the answer to the question the worker waits on.

#include <QtGlobal>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <set>

namespace ftp {

class WorkerControl {
public:
    // ---- the worker's side
    // A command begins; false when it was cancelled before it could.
    bool begin(quint64 id);
    void end();
    // The flag the library's waits watch while a command runs.
    const std::atomic<bool> *stopFlag() const { return &m_stop; }
    bool stopRequested() const { return m_stop.load(std::memory_order_relaxed); }
    // A stop was handled: lowered again so that the polite end of a transfer
    // (ABOR and its replies) can wait; not while the owner is closing.
    void lowerStop();
    bool closing() const { return m_closing.load(); }

    // A pause of `ms` (between two tries of a transfer); false when stopped first.
    bool pause(int ms);
    // Waits for the answer to the question `request`; false when stopped first.
    bool waitAnswer(quint64 request, int &answer);

    // ---- the owner's side
    void cancel(quint64 id);
    // Every command up to `lastId`, running or waiting.
    void cancelAll(quint64 lastId);
    // The owner goes away: everything stops and nothing waits politely.
    void close(quint64 lastId);
    void answer(quint64 request, int value);

private:
    mutable std::mutex m_mutex;
    std::condition_variable m_answered;
    quint64 m_running = 0;
    quint64 m_cancelledUpTo = 0;
    std::set<quint64> m_cancelled;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_closing{false};
    quint64 m_answerFor = 0;
    int m_answer = 0;
};

} // namespace ftp
