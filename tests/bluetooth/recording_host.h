// A discover host without a UI thread: hand-offs run at once, one at a time,
// and every log line is kept for the test.
#pragma once

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include "bluetooth/discover_host.h"

namespace vmx::testing {

class RecordingHost final : public DiscoverHost {
 public:
  bool HandOff(const std::function<void()>& job) override {
    std::lock_guard g(lock_);
    if (closed_) return false;
    job();
    return true;
  }
  void LogLine(const std::string& text) override {
    lines_.push_back(text);
    if (text == watched_) ++seen_;
  }

  // A line to count while the worker runs; set before the worker starts. The
  // count is atomic: a test polls it without sharing the lines themselves.
  void Watch(std::string text) { watched_ = std::move(text); }
  int Seen() const { return seen_; }
  void BringToFront() override { ++fronts_; }

  // From now on hand-offs return at once without running, as a closing window's do.
  void Close() {
    std::lock_guard g(lock_);
    closed_ = true;
  }
  std::vector<std::string> Lines() {
    std::lock_guard g(lock_);
    return lines_;
  }
  int Fronts() {
    std::lock_guard g(lock_);
    return fronts_;
  }

 private:
  std::mutex lock_;
  bool closed_ = false;
  std::vector<std::string> lines_;
  int fronts_ = 0;
  std::string watched_;
  std::atomic<int> seen_{0};
};

}  // namespace vmx::testing
