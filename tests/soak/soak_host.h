// The soak's stand-in for the window: a thread of its own runs the worker's
// hand-offs and the soak's edits, as the UI thread would, one at a time.
// It counts the moments the worker drops pending requests (a new connection
// or a changed identity), so an edit made before such a moment is known to
// have been given up on purpose rather than lost.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>

#include "link/link_host.h"
#include "tests/link/ui_thread.h"

namespace vmx::soak {

class SoakHost : public LinkHost {
 public:
  bool HandOff(const std::function<void()>& job) override;
  // Runs `job` on the UI thread and waits for it; false once shut down.
  bool RunOnUi(const std::function<void()>& job) { return ui_.Run(job); }
  void ShutDown() { ui_.ShutDown(); }

  void LogLine(const std::string& text) override;
  void StatusLine(const std::string& text) override;
  void Progress(const std::string&, int64_t, int64_t) override {}
  void LinkState(bool connected) override;
  void UpdatePage(RecordKind) override {}

  // Read on the UI thread only: how many times pending requests were dropped.
  uint64_t Resets() const { return resets_; }
  bool Connected() const { return connected_; }
  // The last lines the worker logged, for a report when something goes wrong.
  std::deque<std::string> RecentLines();

 private:
  void Remember(const std::string& line);

  uint64_t resets_ = 0;
  bool connected_ = false;
  std::mutex recentLock_;
  std::deque<std::string> recent_;
  testing::UiThread ui_;  // last: it stops before the rest goes
};

}  // namespace vmx::soak
