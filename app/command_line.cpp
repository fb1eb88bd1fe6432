#include "app/command_line.h"

#include <algorithm>
#include <cctype>

namespace vmx {

bool IsSwitchArgument(const std::string& arg) {
  if (arg.size() < 2) return false;
  if (arg[0] == '-') return true;
  return arg[0] == '/' && arg.find('/', 1) == std::string::npos;
}

const char* UsageText() {
  return "usage: velmarinex [PORT] [-expert] [-debug] [-english | -german] [--demo]\n"
         "\n"
         "The configurator of the Velmarinex 2.x.4 lighting controller.\n"
         "\n"
         "  PORT      the serial device to connect to: a path (/dev/ttyUSB0) or a name\n"
         "            under /dev (rfcomm0); without one, the port of the last good connection\n"
         "  -expert   show the expert pages (Expert options, White balance, JMP pin)\n"
         "  -debug    log every exchange with the board (also Ctrl+Alt+D in the window)\n"
         "  -english  English texts\n"
         "  -german   German texts (without either: the desktop's language)\n"
         "  --demo    start a simulated board inside the program and connect to it\n"
         "  --help    show this text and end\n"
         "\n"
         "The words also work after \"/\" (/debug). Serial ports are open to the members\n"
         "of the group dialout.\n";
}

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
  CommandLine line;
  for (const std::string& arg : args) {
    if (!IsSwitchArgument(arg)) {
      line.portName = PortFromArgument(arg);
      line.portGiven = true;
      continue;
    }
    std::string word = arg.substr(1);
    std::transform(word.begin(), word.end(), word.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (word == "expert") {
      line.expert = true;
    } else if (word == "debug") {
      line.debug = true;
    } else if (word == "english") {
      line.language = Language::English;
    } else if (word == "german") {
      line.language = Language::German;
    } else if (word == "-demo") {
      line.demo = true;
    } else if (word == "-help") {
      line.help = true;
    }
  }
  return line;
}

}  // namespace vmx
