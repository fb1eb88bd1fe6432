#include "lang/log_stamp.h"

#include <cstdio>

namespace vmx {

std::string StampLogEntry(std::string_view stamp, std::string_view text) {
  constexpr std::string_view kLineBreak = "\r\n";
  std::string entry(stamp);
  entry.reserve(stamp.size() + text.size());
  size_t from = 0;
  for (size_t at = text.find(kLineBreak); at != std::string_view::npos;
       at = text.find(kLineBreak, from)) {
    entry.append(text.substr(from, at + kLineBreak.size() - from));
    entry.append(stamp);
    from = at + kLineBreak.size();
  }
  entry.append(text.substr(from));
  return entry;
}

std::string LogStamp(const std::tm& local) {
  // Wide enough for any int field, so a strange date cannot be cut short.
  char text[96];
  std::snprintf(text, sizeof text, "[%02d.%02d.%04lld %02d:%02d:%02d] ", local.tm_mday,
                local.tm_mon + 1, local.tm_year + 1900LL, local.tm_hour, local.tm_min,
                local.tm_sec);
  return text;
}

std::string LogStampNow() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &now);
#else
  localtime_r(&now, &local);
#endif
  return LogStamp(local);
}

}  // namespace vmx
