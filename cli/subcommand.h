// What every velmarinex-cli subcommand looks like to the dispatcher.
#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace vmx::cli {

// args are the words after the subcommand's name. The result is the exit code:
// 0 done, 1 failed, 2 bad arguments (with the usage text on err).
using SubcommandFunction = int (*)(const std::vector<std::string>& args, std::ostream& out,
                                   std::ostream& err);

struct Subcommand {
  std::string_view name;
  std::string_view summary;
  SubcommandFunction run;
};

}  // namespace vmx::cli
