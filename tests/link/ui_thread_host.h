// A LinkHost with a thread of its own standing in for the UI thread: hand-offs
// run there in order while the worker waits, and the test can run its own
// "UI" code there too. Every report is recorded as a line of text.
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "link/link_host.h"
#include "tests/link/ui_thread.h"

namespace vmx::testing {

class UiThreadHost : public LinkHost {
 public:
  bool HandOff(const std::function<void()>& job) override {
    std::function<void()> hook;
    {
      std::lock_guard g(lock_);
      hook.swap(afterHandOff_);
    }
    return RunOnUi([&] {
      job();
      if (hook) hook();
    });
  }

  // Runs `hook` on the UI thread right after the worker's next hand-off, while
  // the worker still waits for it: the one moment a test knows where the
  // worker stands in its pass.
  void AfterNextHandOff(std::function<void()> hook) {
    std::lock_guard g(lock_);
    afterHandOff_ = std::move(hook);
  }

  // Runs `job` on the UI thread and waits for it.
  bool RunOnUi(const std::function<void()>& job) { return ui_.Run(job); }
  void ShutDown() { ui_.ShutDown(); }

  void LogLine(const std::string& t) override { Record("log: " + t); }
  void StatusLine(const std::string& t) override { Record("status: " + t); }
  void Progress(const std::string& t, int64_t d, int64_t n) override {
    Record("progress: " + t + " " + std::to_string(d) + "/" + std::to_string(n));
  }
  void LinkState(bool c) override { Record(c ? "state: 1" : "state: 0"); }
  void UpdatePage(RecordKind p) override { Record("page: " + std::to_string(static_cast<int>(p))); }
  std::string ChooseFirmwareFile() override { return {}; }

  std::vector<std::string> Events() {
    std::lock_guard g(eventLock_);
    return events_;
  }
  size_t Count(const std::string& event) {
    std::lock_guard g(eventLock_);
    return static_cast<size_t>(std::count(events_.begin(), events_.end(), event));
  }
  bool WaitForEvent(const std::string& event, std::chrono::milliseconds timeout, size_t times = 1) {
    std::unique_lock g(eventLock_);
    return eventCv_.wait_for(g, timeout, [&] {
      return static_cast<size_t>(std::count(events_.begin(), events_.end(), event)) >= times;
    });
  }

 private:
  void Record(std::string e) {
    {
      std::lock_guard g(eventLock_);
      events_.push_back(std::move(e));
    }
    eventCv_.notify_all();
  }

  std::mutex lock_;
  std::function<void()> afterHandOff_;
  std::mutex eventLock_;
  std::condition_variable eventCv_;
  std::vector<std::string> events_;
  UiThread ui_;  // last: it stops before the rest goes
};

}  // namespace vmx::testing
