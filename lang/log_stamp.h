// The time stamp every message-log entry carries. Kept apart from the log
// widget so that the stamping can be checked without one.
#pragma once

#include <ctime>
#include <string>
#include <string_view>

namespace vmx {

// The entry for `text`: the stamp in front of it and again after every CR LF
// inside it, so each line of a multi-line message shows when it was logged.
std::string StampLogEntry(std::string_view stamp, std::string_view text);

// "[" + day.month.year hour:minute:second + "] ", for example
// "[07.12.2026 08:01:02] ". `local.tm_year` counts from 1900 as usual.
std::string LogStamp(const std::tm& local);

// The stamp of the present local time.
std::string LogStampNow();

}  // namespace vmx
