#include "cli/console_host.h"

#include "lang/log_stamp.h"

namespace vmx::cli {

void ConsoleHost::Print(const std::string& text) {
  // The log separates lines with CR LF; a terminal wants plain line feeds.
  std::string entry = StampLogEntry(LogStampNow(), text);
  for (size_t at; (at = entry.find("\r\n")) != std::string::npos;) entry.erase(at, 1);
  // A lone CR (the board's line terminator in a trace) would send the cursor back
  // over the line on a terminal; show it as the two characters \r instead.
  for (size_t at; (at = entry.find('\r')) != std::string::npos;) entry.replace(at, 1, "\\r");
  std::fprintf(out_, "%s\n", entry.c_str());
  std::fflush(out_);
}

void ConsoleHost::LogLine(const std::string& text) {
  Print(text);
}

void ConsoleHost::StatusLine(const std::string& text) {
  Print(text);
}

void ConsoleHost::Progress(const std::string& text, int64_t, int64_t) {
  Print(text);
}

void ConsoleHost::LinkState(bool connected) {
  Print(connected ? "link state 1" : "link state 0");
}

}  // namespace vmx::cli
