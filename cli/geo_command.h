// velmarinex-cli geo: the Geo page's two text lines (or every value behind them
// as JSON) for a location and a board clock time.
#pragma once

namespace vmx::cli {

int GeoCommand(int argc, char** argv);  // argv[0] is "geo"
const char* GeoUsage();

}  // namespace vmx::cli
