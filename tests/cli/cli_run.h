// velmarinex-cli run to its end as a script runs it: exit code, standard
// output and standard error.
#pragma once

#include <string>
#include <vector>

#include "tests/support/program.h"

namespace vmx {

using CliRun = testing::Ran;

// Runs velmarinex-cli with `args` to its end.
inline CliRun Cli(std::vector<std::string> args) {
  args.insert(args.begin(), VMX_CLI_PROGRAM);
  return testing::RunProgram(std::move(args));
}

inline std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t nl; (nl = text.find('\n', start)) != std::string::npos; start = nl + 1)
    lines.push_back(text.substr(start, nl - start));
  return lines;
}

}  // namespace vmx
