// A thread standing in for the UI thread: jobs run there one at a time, in
// order, while their callers wait.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace vmx::testing {

class UiThread {
 public:
  UiThread() : thread_([this] { Loop(); }) {}
  ~UiThread() {
    {
      std::lock_guard g(lock_);
      stop_ = true;
    }
    cv_.notify_all();
    thread_.join();
  }
  UiThread(const UiThread&) = delete;
  UiThread& operator=(const UiThread&) = delete;

  // Runs `job` there and waits for it; false once shut down.
  bool Run(const std::function<void()>& job) {
    std::unique_lock g(lock_);
    if (stop_ || shuttingDown_) return false;
    bool done = false;
    queue_.push_back([&] {
      job();
      std::lock_guard d(lock_);
      done = true;
    });
    cv_.notify_all();
    cv_.wait(g, [&] { return done || stop_; });
    return done;
  }

  // From now on jobs are refused, as a window that is closing refuses them.
  void ShutDown() {
    std::lock_guard g(lock_);
    shuttingDown_ = true;
  }

 private:
  void Loop() {
    std::unique_lock g(lock_);
    for (;;) {
      cv_.wait(g, [&] { return stop_ || !queue_.empty(); });
      if (stop_) return;
      auto job = std::move(queue_.front());
      queue_.pop_front();
      g.unlock();
      job();
      cv_.notify_all();
      g.lock();
    }
  }

  std::mutex lock_;
  std::condition_variable cv_;
  std::deque<std::function<void()>> queue_;
  bool stop_ = false;
  bool shuttingDown_ = false;
  std::thread thread_;  // last: it stops before the rest goes
};

}  // namespace vmx::testing
