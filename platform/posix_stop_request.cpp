#include <signal.h>
#include <unistd.h>

#include "platform/stop_request.h"
#include "platform/stop_signals.h"

namespace vmx {
namespace {

sigset_t g_stop;

}  // namespace

StopRequest::StopRequest() {
  g_stop = BlockStopSignals();
}

StopRequest::~StopRequest() = default;

bool StopRequest::Wait(std::chrono::milliseconds timeout) {
  if (requested_) return true;
  const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(timeout).count();
  const timespec tick{static_cast<time_t>(ns / 1000000000), static_cast<long>(ns % 1000000000)};
  requested_ = sigtimedwait(&g_stop, nullptr, &tick) > 0;
  return requested_;
}

void RequestStop() {
  // To the process, not this thread: the main thread waits for it.
  ::kill(::getpid(), SIGTERM);
}

}  // namespace vmx
