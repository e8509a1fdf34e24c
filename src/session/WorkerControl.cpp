#include "session/WorkerControl.h"

#include "platform/inet/Inet.h"

#include <chrono>

namespace ftp {

bool WorkerControl::begin(quint64 id)
{
    std::lock_guard lock(m_mutex);
    if (m_closing || id <= m_cancelledUpTo || m_cancelled.erase(id) > 0)
        return false;
    m_running = id;
    m_stop = false;
    return true;
}

void WorkerControl::end()
{
    std::lock_guard lock(m_mutex);
    m_running = 0;
    if (!m_closing)
        m_stop = false;
}

void WorkerControl::lowerStop()
{
    std::lock_guard lock(m_mutex);
    if (!m_closing)
        m_stop = false;
}

bool WorkerControl::pause(int ms)
{
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    std::unique_lock lock(m_mutex);
    while (!m_stop) {
        const auto now = std::chrono::steady_clock::now();
        if (now >= until)
            return true;
        // A stop raises the flag without taking the lock: look again soon.
        m_answered.wait_for(lock, qMin<std::chrono::steady_clock::duration>(
                                      until - now, std::chrono::milliseconds(inet::kStopSliceMs)));
    }
    return false;
}

bool WorkerControl::waitAnswer(quint64 request, int &answer)
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        if (m_answerFor == request) {
            answer = m_answer;
            m_answerFor = 0;
            return true;
        }
        if (m_stop)
            return false;
        // A stop raises the flag without taking the lock: look again soon.
        m_answered.wait_for(lock, std::chrono::milliseconds(inet::kStopSliceMs));
    }
}

void WorkerControl::cancel(quint64 id)
{
    std::lock_guard lock(m_mutex);
    if (id == m_running)
        m_stop = true;
    else if (id > m_cancelledUpTo)
        m_cancelled.insert(id);
    m_answered.notify_all();
}

void WorkerControl::cancelAll(quint64 lastId)
{
    std::lock_guard lock(m_mutex);
    m_cancelledUpTo = qMax(m_cancelledUpTo, lastId);
    m_cancelled.clear();
    if (m_running != 0 && m_running <= lastId)
        m_stop = true;
    m_answered.notify_all();
}

void WorkerControl::close(quint64 lastId)
{
    std::lock_guard lock(m_mutex);
    m_closing = true;
    m_cancelledUpTo = qMax(m_cancelledUpTo, lastId);
    m_stop = true;
    m_answered.notify_all();
}

void WorkerControl::answer(quint64 request, int value)
{
    std::lock_guard lock(m_mutex);
    m_answerFor = request;
    m_answer = value;
    m_answered.notify_all();
}

} // namespace ftp
