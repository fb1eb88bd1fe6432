// Temperatures as the user reads and types them. Records hold tenths of a
// degree Celsius; the Config flag chooses whether the user sees Fahrenheit.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vmx {

// "°F" when the Config `Flag` has the Fahrenheit bit, else "°C".
std::string TemperatureUnitSymbol(uint8_t configFlag);

// Tenths of a degree Celsius in the unit the flag chooses, "0.0", no symbol.
std::string FormatTemperature(int64_t tenthsCelsius, uint8_t configFlag,
                              std::string_view separator);

// Typed text in the chosen unit -> tenths of a degree Celsius, rounded to the
// nearest integer (ties to even); nothing when the text is not a number.
std::optional<int64_t> ParseTemperature(std::string_view text, uint8_t configFlag,
                                        std::string_view separator);

}  // namespace vmx
