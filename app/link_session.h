// A link worker as connection management sees it: it can be re-targeted,
// asked to stop and asked whether it still runs. Destroying a session never
// blocks the caller on the worker's hand-offs.
#pragma once

#include <chrono>
#include <string>

namespace vmx {

class LinkSession {
 public:
  virtual ~LinkSession() = default;
  // False once the worker's run has ended.
  virtual bool Running() const = 0;
  virtual void SetPort(const std::string& port, bool debug) = 0;
  virtual void Terminate() = 0;
  // Terminate and cut a transaction on the line short: the program is closing.
  virtual void Abort() = 0;
  // Waits until the run has ended or `timeout` passed; true when it has ended.
  virtual bool WaitClosed(std::chrono::milliseconds timeout) = 0;
};

}  // namespace vmx
