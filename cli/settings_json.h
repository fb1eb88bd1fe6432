// Every setting of a board by its settings-file section and key, as one JSON
// object: what `dump --json` prints, the MQTT bridge publishes and the
// service answers.
#pragma once

#include <string>

#include "cli/json_writer.h"
#include "persist/settings_keys.h"

namespace vmx::cli {

// {"Config": {"Mode": 1, ...}, ..., "0": {...}}: every section, then every row.
Json SettingsValue(const SettingsRecords& records);
std::string SettingsJson(const SettingsRecords& records);

}  // namespace vmx::cli
