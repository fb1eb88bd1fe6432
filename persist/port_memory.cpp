#include "persist/port_memory.h"

namespace vmx {

void SavePort(Preferences& prefs, const std::string& portName, const LogFn& log) {
  if (!prefs.WritePort(portName)) return;
  log("Written to registry: " + portName);
}

std::optional<std::string> LoadPort(Preferences& prefs, std::string& portName) {
  if (!prefs.KeyExists()) return std::nullopt;
  std::optional<std::string> stored = prefs.ReadPort();
  if (!stored) return std::nullopt;
  portName = *stored;
  return "Read from registry: " + portName;
}

void ForgetPort(Preferences& prefs) {
  prefs.DeleteKey();
}

}  // namespace vmx
