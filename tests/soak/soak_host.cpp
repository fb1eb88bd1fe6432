#include "tests/soak/soak_host.h"

namespace vmx::soak {

bool SoakHost::HandOff(const std::function<void()>& job) {
  return ui_.Run(job);
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
