// velmarinex-cli geo: the Geo page's two text lines (or every value behind them
// as JSON) for a location and a board clock time.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace vmx::cli {

int RunGeo(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace vmx::cli
