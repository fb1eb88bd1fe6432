#include "link/port_name.h"

namespace vmx {

std::string PortFromArgument(std::string_view arg) {
  if (arg.empty() || arg.find('/') != std::string_view::npos) return std::string(arg);
  return "/dev/" + std::string(arg);
}

std::string PortBaseName(std::string_view port) {
  return std::string(port.substr(port.find_last_of('/') + 1));
}

}  // namespace vmx
