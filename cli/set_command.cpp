#include "cli/set_command.h"

#include <cstdio>
#include <string>
#include <vector>

#include "cli/acclimate_command.h"
#include "cli/board_routines.h"
#include "persist/settings_assign.h"

namespace vmx::cli {
namespace {

const char* const kUsage =
    "usage: velmarinex-cli set PORT KEY=VALUE... [--verbose]\n"
    "  KEY is a settings-file key (FanLow), or section and key (Weather.CloudP,\n"
    "  3.Hour for schedule row 3); VALUE is decimal, or hexadecimal after $ or 0x.\n"
    "  Values are cut to their field's width, as an imported file's are.\n"
    "  --verbose  show the link's messages on stderr\n";

int Fail(const std::string& message) {
  std::fprintf(stderr, "velmarinex-cli: %s\n", message.c_str());
  return 1;
}

}  // namespace

int SetCommand(int argc, char** argv) {
  std::string port;
  bool verbose = false;
  std::vector<SettingsAssignment> assignments;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--verbose" || a == "-v") {
      verbose = true;
    } else if (port.empty()) {
      port = a;
    } else {
      std::string error;
      const std::optional<SettingsAssignment> assignment = ParseAssignment(a, error);
      if (!assignment) {
        std::fprintf(stderr, "velmarinex-cli: %s\n", error.c_str());
        return 2;
      }
      assignments.push_back(*assignment);
    }
  }
  if (port.empty() || assignments.empty()) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  BoardSession session(PortArguments(port, verbose));
  std::string error;
  if (!session.Open(error)) return Fail(error);
  const BoardOutcome outcome = WriteSettings(session, assignments);
  if (!outcome.Ok()) return Fail(outcome.problem);
  if (WritesSchedule(assignments)) AdoptScheduleEditOf(session);
  return 0;
}

const char* SetUsage() {
  return kUsage;
}

}  // namespace vmx::cli
