// What the service logged about one board, kept for the browser interface:
// the newest entries, each with its UTC time. Written from the board's
// worker and job threads, read from the I/O thread.
#pragma once

#include <chrono>
#include <deque>
#include <string>

#include "cli/json_writer.h"
#include "platform/mutex.h"

namespace vmx::service {

class BoardLog {
 public:
  static constexpr size_t kKept = 500;

  void Add(const std::string& text,
           std::chrono::system_clock::time_point at = std::chrono::system_clock::now())
      EXCLUDES(lock_);
  // [{"time": "2025-03-01T12:00:00.250Z", "text": "..."}], oldest first.
  cli::Json Entries() const EXCLUDES(lock_);

 private:
  mutable Mutex lock_;
  std::deque<std::pair<std::chrono::system_clock::time_point, std::string>> entries_
      GUARDED_BY(lock_);
};

}  // namespace vmx::service
