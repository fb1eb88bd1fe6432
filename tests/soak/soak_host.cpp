#include "tests/soak/soak_host.h"

namespace vmx::soak {

SoakHost::SoakHost() : ui_([this] { Loop(); }) {}

SoakHost::~SoakHost() {
  {
    std::lock_guard g(lock_);
    stop_ = true;
  }
  cv_.notify_all();
  ui_.join();
}

bool SoakHost::HandOff(const std::function<void()>& job) {
  return RunOnUi(job);
}

bool SoakHost::RunOnUi(const std::function<void()>& job) {
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

void SoakHost::ShutDown() {
  std::lock_guard g(lock_);
  shuttingDown_ = true;
}

void SoakHost::Loop() {
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

void SoakHost::Remember(const std::string& line) {
  std::lock_guard g(recentLock_);
  recent_.push_back(line);
  if (recent_.size() > 40) recent_.pop_front();
}

std::deque<std::string> SoakHost::RecentLines() {
  std::lock_guard g(recentLock_);
  return recent_;
}

void SoakHost::LogLine(const std::string& text) {
  Remember("log: " + text);
}

void SoakHost::StatusLine(const std::string& text) {
  Remember("status: " + text);
  // A new connection starts with an empty request word; the expected board
  // found anew starts with the initial reads. Both come after the word is set.
  if (text.starts_with("Connecting to ") || text.starts_with("Connected to Velmarinex 2.x.4 on"))
    ++resets_;
}

void SoakHost::LinkState(bool connected) {
  Remember(connected ? "state: 1" : "state: 0");
  connected_ = connected;
  ++resets_;  // every change of identity hands the state over after dropping the requests
}

}  // namespace vmx::soak
