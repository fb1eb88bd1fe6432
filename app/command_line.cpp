#include "app/command_line.h"

#include <algorithm>
#include <cctype>

namespace vmx {

bool IsSwitchArgument(const std::string& arg) {
  if (arg.size() < 2) return false;
  if (arg[0] == '-') return true;
  return arg[0] == '/' && arg.find('/', 1) == std::string::npos;
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
      line.language = 0;
    } else if (word == "german") {
      line.language = 1;
    } else if (word == "-demo") {
      line.demo = true;
    }
  }
  return line;
}

}  // namespace vmx
