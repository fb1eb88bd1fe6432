#include "service/service_log.h"

#include <cstdio>

#include "lang/log_stamp.h"

namespace vmx::service {

bool ServiceLog::SetLevel(std::string_view word) {
  const std::pair<std::string_view, LogLevel> levels[] = {{"error", LogLevel::Error},
                                                          {"warning", LogLevel::Warning},
                                                          {"info", LogLevel::Info},
                                                          {"debug", LogLevel::Debug}};
  for (const auto& [name, level] : levels) {
    if (name != word) continue;
    level_ = level;
    return true;
  }
  return false;
}

void ServiceLog::Write(LogLevel level, const std::string& text) {
  if (!Enabled(level)) return;
  std::string entry = StampLogEntry(LogStampNow(), text);
  // The link's lines end in CR LF; the journal wants plain line feeds.
  for (size_t at; (at = entry.find("\r\n")) != std::string::npos;) entry.erase(at, 1);
  MutexLock g(lock_);
  std::fprintf(stderr, "%s\n", entry.c_str());
  std::fflush(stderr);
}

}  // namespace vmx::service
