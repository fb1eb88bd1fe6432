// What every velmarinex-cli subcommand looks like to the dispatcher.
#pragma once

#include <string_view>

namespace vmx::cli {

// argv[0] is the subcommand's name, the rest its arguments. The result is the
// exit code: 0 done, 1 failed, 2 bad arguments (with a usage text on stderr).
using SubcommandFunction = int (*)(int argc, char** argv);

struct Subcommand {
  std::string_view name;
  std::string_view summary;
  SubcommandFunction run;
  // Printed for "COMMAND --help" and "help COMMAND"; without one the
  // subcommand sees --help itself.
  std::string_view usage = {};
};

}  // namespace vmx::cli
