// The remembered serial port: stored after the board's settings have been
// read, restored at start-up and on a reconnect, forgotten on a disconnect.
// None of these ever fails loudly: a refused store leaves things as they were.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "persist/preferences.h"

namespace vmx {

using LogFn = std::function<void(const std::string&)>;

// Writes `portName` (also when empty) and logs "Written to registry: " on success.
void SavePort(Preferences& prefs, const std::string& portName, const LogFn& log);

// Sets `portName` from the store when its key exists. Returns the log line
// ("Read from registry: " + port) for the caller to place, or nullopt when
// nothing was read.
std::optional<std::string> LoadPort(Preferences& prefs, std::string& portName);

void ForgetPort(Preferences& prefs);

}  // namespace vmx
