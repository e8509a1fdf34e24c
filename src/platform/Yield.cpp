#include "platform/Yield.h"

#include <QCoreApplication>

#include <time.h>

namespace platform {
namespace {
// The coarse clock costs a few nanoseconds and ticks every few milliseconds,
// which is exactly the resolution a yield throttle needs.
qint64 coarseNowNs()
{
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC_COARSE, &ts);
    return qint64(ts.tv_sec) * 1'000'000'000 + ts.tv_nsec;
}
qint64 lastYieldNs = -1;
constexpr qint64 kMinGapNs = 4'000'000;
} // namespace

void yieldNow()
{
    if (QCoreApplication::instance())
        QCoreApplication::processEvents();
    lastYieldNs = coarseNowNs();
}

void yieldToEventLoop()
{
    if (lastYieldNs >= 0 && coarseNowNs() - lastYieldNs < kMinGapNs)
        return;
    yieldNow();
}

} // namespace platform
