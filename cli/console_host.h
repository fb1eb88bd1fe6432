// The monitor's LinkHost: every log and status line goes to standard output
// with its stamp, as the message log would show it, plus the link state.
#pragma once

#include <cstdio>
#include <string>

#include "link/inline_link_host.h"

namespace vmx::cli {

class ConsoleHost : public InlineLinkHost {
 public:
  explicit ConsoleHost(std::FILE* out) : out_(out) {}

  void LogLine(const std::string& text) override;
  void StatusLine(const std::string& text) override;
  void Progress(const std::string& text, int64_t done, int64_t total) override;
  void LinkState(bool connected) override;

 private:
  void Print(const std::string& text);
  std::FILE* out_;
};

}  // namespace vmx::cli
