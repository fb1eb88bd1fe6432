// A request from outside to stop the program: Ctrl+C, a termination signal,
// the console window being closed. Programs that wait for one poll it on their
// main thread, so the worker and its hand-offs never see a signal or handler.
#pragma once

#include <chrono>

namespace vmx {

class StopRequest {
 public:
  // Takes the requests over from the default action (ending the program at
  // once). Make it on the main thread before any other thread starts, and only
  // one at a time.
  StopRequest();
  // Lets a console that is being closed end the program: it waits for this.
  ~StopRequest();
  StopRequest(const StopRequest&) = delete;
  StopRequest& operator=(const StopRequest&) = delete;

  // Waits up to `timeout` for a request; true once one came, on every call after.
  bool Wait(std::chrono::milliseconds timeout);

 private:
  bool requested_ = false;
};

// A stop asked for from inside the program, as the system's service manager
// asks (any thread; a StopRequest made later still sees it).
void RequestStop();

}  // namespace vmx
