#include "settings/temperature.h"

#include "lang/number_text.h"
#include "link/records.h"

namespace vmx {
namespace {

bool Fahrenheit(uint8_t flag) {
  return (flag & config_flag::Fahrenheit) != 0;
}

}  // namespace

std::string TemperatureUnitSymbol(uint8_t configFlag) {
  return Fahrenheit(configFlag) ? "\u00B0F" : "\u00B0C";
}

std::string FormatTemperature(int64_t tenthsCelsius, uint8_t configFlag,
                              std::string_view separator) {
  // Nine times the tenths stays an integer; only the division is real.
  const double shown = Fahrenheit(configFlag) ? static_cast<double>(9 * tenthsCelsius) / 50.0 + 32.0
                                              : static_cast<double>(tenthsCelsius) / 10.0;
  return FormatDecimal(shown, 1, 1, separator);
}

std::optional<int64_t> ParseTemperature(std::string_view text, uint8_t configFlag,
                                        std::string_view separator) {
  const std::optional<double> x = ParseDecimal(text, separator);
  if (!x) return std::nullopt;
  return RoundToInteger(Fahrenheit(configFlag) ? (*x - 32.0) / 9.0 * 50.0 : *x * 10.0);
}

}  // namespace vmx
