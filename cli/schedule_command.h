// velmarinex-cli schedule PORT [--json | --set LINE "CELLS..." | --move FROM TO |
// --paste FROM TO | --swap A B]: the board's schedule as the grid shows it, and
// the grid's edits.
#pragma once

namespace vmx::cli {

int ScheduleCommand(int argc, char** argv);
const char* ScheduleUsage();  // argv[0] is "schedule"

}  // namespace vmx::cli
