// Numbers as the user types and reads them: the locale's decimal separator,
// no group separators. Parsing refuses what cannot become a record value, so a
// handler never converts a non-finite or huge number to an integer field.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vmx {

// A decimal number: optional sign, digits with at most one separator, an
// optional exponent ("1e3"); blanks around it are allowed. Anything else, and
// any value that is not finite or beyond +-1e15, gives nothing.
std::optional<double> ParseDecimal(std::string_view text, std::string_view separator);

// An integer as typed into a plain number field: decimal, or hexadecimal after
// "$" or "0x"; within the 32-bit signed range.
std::optional<int64_t> ParseInteger(std::string_view text);

// The nearest integer, ties to even; nothing when `value` is not finite or
// lies beyond +-2^53, where doubles stop holding every integer.
std::optional<int64_t> RoundToInteger(double value);

// Fixed-point text with `minDecimals`..`maxDecimals` decimals: the patterns
// "0.##" (0, 2), "0.#" (0, 1), "0.0" (1, 1) and "0.00" (2, 2). A value that
// rounds to zero never shows a minus sign. Undefined values print as "NAN"/"INF".
std::string FormatDecimal(double value, int minDecimals, int maxDecimals,
                          std::string_view separator);

}  // namespace vmx
