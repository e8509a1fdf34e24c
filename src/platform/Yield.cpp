#include "platform/Yield.h"

#include <QCoreApplication>
#include <QElapsedTimer>

namespace platform {
namespace {
QElapsedTimer &clock()
{
    static QElapsedTimer timer;
    if (!timer.isValid())
        timer.start();
    return timer;
}
qint64 lastYieldNs = -1;
constexpr qint64 kMinGapNs = 4'000'000;
} // namespace

void yieldNow()
{
    if (QCoreApplication::instance())
        QCoreApplication::processEvents();
    lastYieldNs = clock().nsecsElapsed();
}

void yieldToEventLoop()
{
    const qint64 now = clock().nsecsElapsed();
    if (lastYieldNs >= 0 && now - lastYieldNs < kMinGapNs)
        return;
    yieldNow();
}

} // namespace platform
