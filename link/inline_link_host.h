// A LinkHost without a UI thread: each hand-off runs at once on the worker's
// thread, one at a time. Serves the command-line tool and tests.
#pragma once

#include <atomic>
#include <mutex>

#include "link/link_host.h"

namespace vmx {

class InlineLinkHost : public LinkHost {
 public:
  bool HandOff(const std::function<void()>& job) override;
  // From now on hand-offs return at once without running.
  void ShutDown() { shuttingDown_ = true; }

  void LogLine(const std::string&) override {}
  void StatusLine(const std::string&) override {}
  void Progress(const std::string&, int64_t, int64_t) override {}
  void LinkState(bool) override {}
  void UpdatePage(PageUpdate) override {}

 private:
  std::mutex lock_;
  std::atomic<bool> shuttingDown_{false};
};

}  // namespace vmx
