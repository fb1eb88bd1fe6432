// velmarinex-cli monitor PORT [-debug]: watch a board from a terminal.
#pragma once

namespace vmx::cli {

int MonitorCommand(int argc, char** argv);  // argv[0] is "monitor"
const char* MonitorUsage();

}  // namespace vmx::cli
