#include "astro/decimal_text.h"

#include <cmath>
#include <cstdio>

namespace vmx {

std::string FormatUpToOneDecimal(double value, std::string_view separator) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
  char buf[400];
  std::snprintf(buf, sizeof buf, "%.1f", value);
  std::string text = buf;
  if (text.ends_with(".0")) text.resize(text.size() - 2);
  // A small negative value rounds to "-0", which is just zero.
  if (text == "-0") text = "0";
  const size_t dot = text.find('.');
  if (dot != std::string::npos) text.replace(dot, 1, separator);
  return text;
}

}  // namespace vmx
