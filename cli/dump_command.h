// velmarinex-cli dump PORT [--json]: every setting of a board by its
// settings-file keys, as INI text or as one JSON object.
#pragma once

#include <string>

#include "cli/settings_json.h"

namespace vmx::cli {

int DumpCommand(int argc, char** argv);  // argv[0] is "dump"
const char* DumpUsage();

}  // namespace vmx::cli
