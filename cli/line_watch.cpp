#include "cli/line_watch.h"

namespace vmx::cli {
namespace {

// "80" is GetDevice; a Set carries a payload after its two command characters.
std::string SetKey(std::string_view line) {
  const std::string_view command = line.substr(0, 2);
  if (command == "03" || command == "7F") return std::string(line.substr(0, 4));
  return std::string(command);
}

}  // namespace

void LineWatch::Write(std::span<const uint8_t> data, std::chrono::milliseconds timeout) {
  std::string line(data.begin(), data.end());
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
  {
    MutexLock g(lock_);
    if (line == "80") ++identifications_;
    // "7F00" restarts the board into its bootloader and gets no answer.
    if (line.size() > 2 && line != "7F00") pendingSet_ = SetKey(line);
  }
  try {
    port_->Write(data, timeout);
  } catch (...) {
    Answered(false);
    throw;
  }
}

size_t LineWatch::Read(std::span<uint8_t> buffer, std::chrono::milliseconds timeout) {
  size_t got = 0;
  try {
    got = port_->Read(buffer, timeout);
  } catch (...) {
    Answered(false);
    throw;
  }
  // A Set is answered by one byte; any byte counts, as it does for the worker.
  if (buffer.size() == 1) Answered(got == 1);
  return got;
}

void LineWatch::Answered(bool acknowledged) {
  MutexLock g(lock_);
  if (pendingSet_.empty()) return;
  sets_.push_back({pendingSet_, acknowledged});
  pendingSet_.clear();
}

int LineWatch::Identifications() const {
  MutexLock g(lock_);
  return identifications_;
}

std::vector<LineWatch::SetResult> LineWatch::Sets() const {
  MutexLock g(lock_);
  return sets_;
}

bool LineWatch::SetPending() const {
  MutexLock g(lock_);
  return !pendingSet_.empty();
}

}  // namespace vmx::cli
