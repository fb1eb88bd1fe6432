// velmarinex-cli dump PORT [--json]: every setting of a board by its
// settings-file keys, as INI text or as one JSON object.
#pragma once

#include <string>

#include "persist/settings_keys.h"

namespace vmx::cli {

// {"Config": {"Mode": 1, ...}, ..., "0": {...}}: every section, then every row.
std::string SettingsJson(const SettingsRecords& records);

int DumpCommand(int argc, char** argv);  // argv[0] is "dump"
const char* DumpUsage();

}  // namespace vmx::cli
