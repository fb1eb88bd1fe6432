// Numbers as the Geo texts show them: pattern "0.#", at most one decimal.
#pragma once

#include <string>
#include <string_view>

namespace vmx {

// 12.34 -> "12.3", 95.0 -> "95", -0.04 -> "0" (never "-0"); separator is the
// locale's decimal separator. Undefined values print as "NAN" or "INF".
std::string FormatUpToOneDecimal(double value, std::string_view separator);

}  // namespace vmx
