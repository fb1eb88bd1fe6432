// velmarinex-cli settings history|diff|restore|undo: a board's settings
// history, the differences between two settings sets, and putting part of
// one back, with the window's own routines.
#pragma once

#include <string>
#include <vector>

namespace vmx::cli {

struct HistoryOptions {
  bool json = false;
  bool verbose = false;
  std::string only;  // --only; empty: everything
};

// True when `word` is one of the four; `code` is then the exit code.
bool RunHistoryCommand(const std::vector<std::string>& words, const HistoryOptions& options,
                       int& code);

}  // namespace vmx::cli
