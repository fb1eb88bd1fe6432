// SIGINT and SIGTERM for programs that wait for them on one thread.
#pragma once

#include <signal.h>

namespace vmx {

// Restores their default action (a shell starting the program in the
// background leaves them ignored, and ignored signals never arrive), then
// blocks them in this thread and every thread started after it. Returns the
// set to wait for with sigwait, sigtimedwait or signalfd.
sigset_t BlockStopSignals();

}  // namespace vmx
