#include "astro/decimal_text.h"

#include "lang/number_text.h"

namespace vmx {

std::string FormatUpToOneDecimal(double value, std::string_view separator) {
  return FormatDecimal(value, 0, 1, separator);
}

}  // namespace vmx
