// velmarinex-cli: the configurator's computations and board access from a shell.
// Each subcommand lives in its own file; this table is all that joins them.
#include <iostream>
#include <string_view>

#include "cli/acclimate_command.h"
#include "cli/action_command.h"
#include "cli/dump_command.h"
#include "cli/firmware_command.h"
#include "cli/geo_command.h"
#include "cli/mode_command.h"
#include "cli/monitor_command.h"
#include "cli/mqtt_command.h"
#include "cli/schedule_command.h"
#include "cli/set_command.h"
#include "cli/settings_command.h"
#include "cli/subcommand.h"
#include "link/port_name.h"
#include "platform/standard_output.h"

namespace {

using vmx::cli::Subcommand;

const Subcommand kSubcommands[] = {
    {"geo", "sun and moon for a place and a board clock time, or its year", vmx::cli::GeoCommand,
     vmx::cli::GeoUsage()},
    {"monitor", "watch a board on a serial port", vmx::cli::MonitorCommand,
     vmx::cli::MonitorUsage()},
    {"mode", "set the board's operating mode", vmx::cli::ModeCommand, vmx::cli::ModeUsage()},
    {"action", "save, refresh, reef defaults, clock, cloud, storm, health", vmx::cli::ActionCommand,
     vmx::cli::ActionUsage()},
    {"schedule", "print or edit the board's schedule", vmx::cli::ScheduleCommand,
     vmx::cli::ScheduleUsage()},
    {"firmware", "write a firmware image through the board's bootloader", vmx::cli::FirmwareCommand,
     vmx::cli::FirmwareUsage()},
    {"settings", "export, import or back up a board's settings file", vmx::cli::SettingsCommand,
     vmx::cli::SettingsUsage()},
    {"dump", "every setting of a board by its settings-file keys", vmx::cli::DumpCommand,
     vmx::cli::DumpUsage()},
    {"set", "write single settings to a board by their settings-file keys", vmx::cli::SetCommand,
     vmx::cli::SetUsage()},
    {"acclimate", "ramp a board's schedule up over days for new corals or lamps",
     vmx::cli::AcclimateCommand, vmx::cli::AcclimateUsage()},
    {"mqtt", vmx::cli::MqttSummary(), vmx::cli::MqttCommand, vmx::cli::MqttUsage()},
};

void PrintCommands(std::ostream& os) {
  os << "usage: velmarinex-cli COMMAND [ARGUMENTS]\n\ncommands:\n";
  for (const auto& c : kSubcommands) os << "  " << c.name << "  " << c.summary << "\n";
  os << "\n\"velmarinex-cli COMMAND --help\" lists the arguments of one command.\n";
}

bool AsksForHelp(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view a = argv[i];
    if (a == "--help" || a == "-h") return true;
  }
  return false;
}

const Subcommand* Find(std::string_view name) {
  for (const auto& c : kSubcommands)
    if (c.name == name) return &c;
  return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
  vmx::BufferStandardOutput();
  if (argc < 2) {
    PrintCommands(std::cerr);
    return 2;
  }
  const std::string_view name = argv[1];
  if (name == "help" || name == "--help" || name == "-h") {
    const Subcommand* c = argc > 2 ? Find(argv[2]) : nullptr;
    if (c && !c->usage.empty())
      std::cout << c->usage;
    else
      PrintCommands(std::cout);
    return 0;
  }
  if (const Subcommand* c = Find(name)) {
    if (!c->usage.empty() && AsksForHelp(argc - 1, argv + 1)) {
      std::cout << c->usage;
      return 0;
    }
    return c->run(argc - 1, argv + 1);
  }
  std::cerr << "velmarinex-cli: unknown command \"" << vmx::ShortForMessage(name) << "\"\n\n";
  PrintCommands(std::cerr);
  return 2;
}
