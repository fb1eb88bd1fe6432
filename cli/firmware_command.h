// velmarinex-cli firmware PORT FILE [-debug]: writes a firmware image through
// the board's bootloader with the same worker and update as the window.
#pragma once

namespace vmx::cli {

// Exit 0 once the board has been reset and answers with its application
// firmware; 1 for a refused file, a failed or stopped update, no board or
// other hardware; 2 for bad arguments.
int FirmwareCommand(int argc, char** argv);
const char* FirmwareUsage();  // argv[0] is "firmware"

}  // namespace vmx::cli
