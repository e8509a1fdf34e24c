#include "cli/Interrupt.h"

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

} // namespace cli
