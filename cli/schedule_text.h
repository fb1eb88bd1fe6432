// The schedule as velmarinex-cli prints it: the grid's lines, one per row,
// cells separated by tabs under the grid's headings; or one JSON object.
#pragma once

#include <string>

#include "cli/json_writer.h"
#include "settings/schedule_grid.h"

namespace vmx {
class SharedStore;
}

namespace vmx::cli {

// ON/OFF of the current language, "." as the decimal separator.
GridWords CommandLineWords();

std::string ScheduleTable(const SharedStore& store);
std::string ScheduleJson(const SharedStore& store);
// The object ScheduleJson prints.
Json ScheduleValue(const SharedStore& store);

}  // namespace vmx::cli
