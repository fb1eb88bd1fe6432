// A LinkHost without a UI thread: each hand-off runs at once on the calling
// thread, one at a time. Serves the command-line tool and tests.
//
// Here the "UI thread" of the threading model is whoever holds lock_: the
// worker while it runs a hand-off, and the program's own thread while it runs
// a job through HandOff (the command line's BoardSession::OnUi, the MQTT
// bridge's commands). The shared records may be read or edited only there.
#pragma once

#include <atomic>

#include "link/link_host.h"
#include "platform/mutex.h"

namespace vmx {

class InlineLinkHost : public LinkHost {
 public:
  // Any thread: runs `job` holding the host's lock, so it never overlaps a
  // hand-off of the worker.
  bool HandOff(const std::function<void()>& job) EXCLUDES(lock_) override;
  // From now on hand-offs return at once without running.
  void ShutDown() { shuttingDown_ = true; }

  void LogLine(const std::string&) override {}
  void StatusLine(const std::string&) override {}
  void Progress(const std::string&, int64_t, int64_t) override {}
  void LinkState(bool) override {}
  void UpdatePage(RecordKind) override {}

 private:
  Mutex lock_;
  std::atomic<bool> shuttingDown_{false};
};

}  // namespace vmx
