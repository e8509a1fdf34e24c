#include "cli/Interrupt.h"

#include "session/SessionState.h"

#include <csignal>

namespace cli {
namespace {

volatile std::sig_atomic_t interrupted = 0;

extern "C" void onInterrupt(int)
{
    interrupted = 1;
    std::signal(SIGINT, SIG_DFL); // the next Ctrl-C ends the program
}

} // namespace

void armInterrupt()
{
    interrupted = 0;
    std::signal(SIGINT, onInterrupt);
}

bool interruptRequested()
{
    return interrupted != 0;
}

void forwardInterrupt()
{
    // The transfer loops look at the stop flag before every block.
    if (interrupted)
        bStopTransfer = true;
}

} // namespace cli
