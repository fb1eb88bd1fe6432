// velmarinex-cli geo: the Geo page's two text lines (or every value behind them
// as JSON) for a location and a board clock time.
#pragma once

#include <optional>
#include <string_view>

namespace vmx::cli {

// A real number as typed, finite; nothing for anything else.
std::optional<double> ParseReal(std::string_view text);
// Degrees as the board stores a location: tenths, rounded ties to even;
// nothing beyond +-limit.
std::optional<int> ParseTenths(std::string_view text, double limit);

int GeoCommand(int argc, char** argv);  // argv[0] is "geo"
const char* GeoUsage();

}  // namespace vmx::cli
