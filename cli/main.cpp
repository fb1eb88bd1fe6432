// velmarinex-cli: the configurator's computations and board access from a shell.
// Each subcommand lives in its own file; this table is all that joins them.
#include <iostream>
#include <string_view>

#include "cli/geo_command.h"
#include "cli/monitor_command.h"
#include "cli/subcommand.h"
#include "link/port_name.h"

namespace {

using vmx::cli::Subcommand;

const Subcommand kSubcommands[] = {
    {"geo", "sun and moon for a place and a board clock time", vmx::cli::GeoCommand},
    {"monitor", "watch a board on a serial port", vmx::cli::MonitorCommand},
};

void PrintCommands(std::ostream& os) {
  os << "usage: velmarinex-cli COMMAND [ARGUMENTS]\n\ncommands:\n";
  for (const auto& c : kSubcommands) os << "  " << c.name << "  " << c.summary << "\n";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    PrintCommands(std::cerr);
    return 2;
  }
  const std::string_view name = argv[1];
  if (name == "help" || name == "--help" || name == "-h") {
    PrintCommands(std::cout);
    return 0;
  }
  for (const auto& c : kSubcommands)
    if (c.name == name) return c.run(argc - 1, argv + 1);
  std::cerr << "velmarinex-cli: unknown command \"" << vmx::ShortForMessage(name) << "\"\n\n";
  PrintCommands(std::cerr);
  return 2;
}
