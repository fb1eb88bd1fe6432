// The service's log: stamped lines on standard error, which systemd's journal
// keeps. Requests are logged by address, method and path without the query;
// no token, password, cookie or Authorization header ever reaches a line.
#pragma once

#include <string>
#include <string_view>

#include "platform/mutex.h"

namespace vmx::service {

enum class LogLevel { Error, Warning, Info, Debug };

class ServiceLog {
 public:
  // "error", "warning", "info", "debug"; false for another word.
  bool SetLevel(std::string_view word);
  bool Enabled(LogLevel level) const { return level <= level_; }
  void Write(LogLevel level, const std::string& text);
  void Error(const std::string& text) { Write(LogLevel::Error, text); }
  void Warning(const std::string& text) { Write(LogLevel::Warning, text); }
  void Info(const std::string& text) { Write(LogLevel::Info, text); }
  void Debug(const std::string& text) { Write(LogLevel::Debug, text); }

 private:
  LogLevel level_ = LogLevel::Info;
  Mutex lock_;  // one line at a time on standard error
};

}  // namespace vmx::service
