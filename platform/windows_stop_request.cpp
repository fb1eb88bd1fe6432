#include <windows.h>

#include <algorithm>

#include "platform/stop_request.h"

namespace vmx {
namespace {

// Made at first use, so a stop asked for before the StopRequest exists is kept.
HANDLE StopEvent() {
  static const HANDLE event = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  return event;
}
HANDLE g_finished = nullptr;  // set once the program has wound down

// Runs on a thread of its own that the system starts for the event.
BOOL WINAPI OnConsoleEvent(DWORD type) {
  ::SetEvent(StopEvent());
  // Closing the console, logging off and shutting down end the process as soon
  // as this returns: hold it until the program has let go of the board (the
  // system allows about five seconds).
  if (type == CTRL_CLOSE_EVENT || type == CTRL_LOGOFF_EVENT || type == CTRL_SHUTDOWN_EVENT)
    ::WaitForSingleObject(g_finished, 4500);
  return TRUE;
}

}  // namespace

StopRequest::StopRequest() {
  StopEvent();
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
  requested_ = ::WaitForSingleObject(StopEvent(), ms) == WAIT_OBJECT_0;
  return requested_;
}

void RequestStop() {
  ::SetEvent(StopEvent());
}

}  // namespace vmx
