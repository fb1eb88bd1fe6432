#include "service/board_log.h"

#include <cstdio>
#include <ctime>

namespace vmx::service {
namespace {

std::string Iso(std::chrono::system_clock::time_point at) {
  const auto ms =
      std::chrono::duration_cast<std::chrono::milliseconds>(at.time_since_epoch()).count();
  const std::time_t seconds = static_cast<std::time_t>(ms / 1000);
  std::tm tm{};
  gmtime_r(&seconds, &tm);
  char text[96];
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d.%03dZ", tm.tm_year + 1900,
                tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec,
                static_cast<int>(ms % 1000));
  return text;
}

}  // namespace

void BoardLog::Add(const std::string& text, std::chrono::system_clock::time_point at) {
  std::string line = text;
  // The link's lines end in CR LF.
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
  MutexLock g(lock_);
  entries_.emplace_back(at, std::move(line));
  if (entries_.size() > kKept) entries_.pop_front();
}

cli::Json BoardLog::Entries() const {
  cli::Json all = cli::Json::array();
  MutexLock g(lock_);
  for (const auto& [at, text] : entries_)
    all.push_back(cli::Json::object({{"time", Iso(at)}, {"text", text}}));
  return all;
}

}  // namespace vmx::service
