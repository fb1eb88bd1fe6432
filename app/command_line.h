// The program's command line: switches after "-" or "/", anything else a port.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "lang/catalogue.h"
#include "link/port_name.h"

namespace vmx {

struct CommandLine {
  std::string portName;  // the last port argument as a device path; empty: none given
  bool portGiven = false;
  bool expert = false;
  bool debug = false;
  std::optional<Language> language;  // none: the desktop's
  bool demo = false;  // run the simulated board inside the program and connect to it
  bool help = false;  // print UsageText and end before any window exists
};

// What --help prints: every word the program understands.
const char* UsageText();

// A "/word" counts as a switch only while it holds no further "/", so that
// device paths such as /dev/ttyUSB0 stay ports.
bool IsSwitchArgument(const std::string& arg);

// Reads the arguments (without the program name) in order; later words win.
CommandLine ParseCommandLine(const std::vector<std::string>& args);

}  // namespace vmx
