#include "link/port_name.h"

namespace vmx {
namespace {

constexpr std::string_view kDevicePrefix = "\\\\.\\";

bool SameLetters(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    const char x = (a[i] >= 'a' && a[i] <= 'z') ? static_cast<char>(a[i] - 'a' + 'A') : a[i];
    if (x != b[i]) return false;
  }
  return true;
}

// "COM" and 1 to 3 digits without a leading zero, in any case: the number, else 0.
int ComNumber(std::string_view name) {
  if (name.size() < 4 || name.size() > 6 || !SameLetters(name.substr(0, 3), "COM")) return 0;
  if (name[3] == '0') return 0;
  int number = 0;
  for (const char c : name.substr(3)) {
    if (c < '0' || c > '9') return 0;
    number = number * 10 + (c - '0');
  }
  return number;
}

}  // namespace

std::string PortFromArgument(std::string_view arg) {
  std::string_view name = arg;
  if (name.starts_with(kDevicePrefix)) name.remove_prefix(kDevicePrefix.size());
  if (const int number = ComNumber(name)) return "COM" + std::to_string(number);
  return std::string(arg);
}

std::string PortBaseName(std::string_view port) {
  const std::string name = PortFromArgument(port);
  return name.substr(name.find_last_of("\\/") + 1);
}

}  // namespace vmx
