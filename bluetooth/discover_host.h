// What the Bluetooth worker hands to the user interface. Every hand-off runs
// on the UI thread while the worker waits, in the order issued.
#pragma once

#include <functional>
#include <string>

namespace vmx {

class DiscoverHost {
 public:
  virtual ~DiscoverHost() = default;
  // Runs `job` on the UI thread and returns once it has run; false at once,
  // without running it, when the host is shutting down.
  virtual bool HandOff(const std::function<void()>& job) = 0;
  // The worker calls these only inside HandOff.
  virtual void LogLine(const std::string& text) = 0;
  // The system may put a dialog of its own up: the program comes to the front.
  virtual void BringToFront() {}
};

}  // namespace vmx
