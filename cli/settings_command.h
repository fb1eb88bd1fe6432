// velmarinex-cli settings: export, import and back up a board's settings
// files, with the window's own routines.
//   settings export PORT FILE
//   settings import config|schedule PORT FILE
//   settings backup PORT [--dir DIR]
#pragma once

namespace vmx::cli {

int SettingsCommand(int argc, char** argv);  // argv[0] is "settings"
const char* SettingsUsage();

}  // namespace vmx::cli
