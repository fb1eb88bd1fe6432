#include <windows.h>

#include <algorithm>

#include "platform/stop_request.h"

namespace vmx {
namespace {

HANDLE g_stop = nullptr;      // set by the handler
HANDLE g_finished = nullptr;  // set once the program has wound down

// Runs on a thread of its own that the system starts for the event.
BOOL WINAPI OnConsoleEvent(DWORD type) {
  ::SetEvent(g_stop);
  // Closing the console, logging off and shutting down end the process as soon
  // as this returns: hold it until the program has let go of the board (the
  // system allows about five seconds).
  if (type == CTRL_CLOSE_EVENT || type == CTRL_LOGOFF_EVENT || type == CTRL_SHUTDOWN_EVENT)
    ::WaitForSingleObject(g_finished, 4500);
  return TRUE;
}

}  // namespace

StopRequest::StopRequest() {
  g_stop = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  g_finished = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  ::SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
}

StopRequest::~StopRequest() {
  ::SetEvent(g_finished);
  ::SetConsoleCtrlHandler(OnConsoleEvent, FALSE);
}

bool StopRequest::Wait(std::chrono::milliseconds timeout) {
  if (requested_) return true;
  const auto ms = static_cast<DWORD>(std::clamp<long long>(timeout.count(), 0, 3600 * 1000));
  requested_ = ::WaitForSingleObject(g_stop, ms) == WAIT_OBJECT_0;
  return requested_;
}

}  // namespace vmx
