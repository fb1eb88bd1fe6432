// velmarinex-cli geo year: the year at a place, a line (or a JSON object) per
// day, with what a schedule gives each channel and the warnings on stderr.
#pragma once

namespace vmx::cli {

int GeoYearCommand(int argc, char** argv);  // argv[0] is "year"
const char* GeoYearUsage();

}  // namespace vmx::cli
