#include "lang/number_text.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace vmx {
namespace {

constexpr double kLargestDecimal = 1e15;
constexpr double kLargestExact = 9007199254740992.0;  // 2^53

std::string_view Trim(std::string_view s) {
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
  return s;
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

}  // namespace

std::optional<double> ParseDecimal(std::string_view text, std::string_view separator) {
  text = Trim(text);
  // Rebuild the number in the C locale's spelling, checking the form on the way.
  std::string plain;
  size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) plain += text[i++];
  size_t digits = 0;
  while (i < text.size() && IsDigit(text[i])) plain += text[i++], ++digits;
  if (!separator.empty() && text.substr(i).starts_with(separator)) {
    i += separator.size();
    plain += '.';
    while (i < text.size() && IsDigit(text[i])) plain += text[i++], ++digits;
  }
  if (digits == 0) return std::nullopt;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    plain += 'e';
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) plain += text[i++];
    size_t exponentDigits = 0;
    while (i < text.size() && IsDigit(text[i])) plain += text[i++], ++exponentDigits;
    if (exponentDigits == 0) return std::nullopt;
  }
  if (i != text.size()) return std::nullopt;
  const double value = std::strtod(plain.c_str(), nullptr);
  if (!std::isfinite(value) || std::fabs(value) > kLargestDecimal) return std::nullopt;
  return value;
}

std::optional<int64_t> ParseInteger(std::string_view text) {
  text = Trim(text);
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  int base = 10;
  if (text.starts_with('$')) {
    base = 16;
    text.remove_prefix(1);
  } else if (text.starts_with("0x") || text.starts_with("0X")) {
    base = 16;
    text.remove_prefix(2);
  }
  if (text.empty()) return std::nullopt;
  uint64_t magnitude = 0;
  const auto [end, error] =
      std::from_chars(text.data(), text.data() + text.size(), magnitude, base);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  if (magnitude > (negative ? 2147483648u : 2147483647u)) return std::nullopt;
  return negative ? -static_cast<int64_t>(magnitude) : static_cast<int64_t>(magnitude);
}

std::optional<int64_t> RoundToInteger(double value) {
  if (!std::isfinite(value)) return std::nullopt;
  const double rounded = std::nearbyint(value);  // the default mode rounds ties to even
  if (std::fabs(rounded) > kLargestExact) return std::nullopt;
  return static_cast<int64_t>(rounded);
}

std::string FormatDecimal(double value, int minDecimals, int maxDecimals,
                          std::string_view separator) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
  // The exact decimal digits of the magnitude, rounded half away from zero at
  // the last shown decimal (53.125 shows as 53.13, as people round).
  char buf[512];
  std::snprintf(buf, sizeof buf, "%.60f", std::fabs(value));
  std::string digits = buf;
  const size_t dot = digits.find('.');
  const size_t cut = dot + 1 + static_cast<size_t>(maxDecimals);
  const bool roundUp = digits[cut] >= '5';
  digits.resize(cut);
  if (maxDecimals == 0) digits.resize(dot);
  if (roundUp) {
    size_t i = digits.size();
    while (i > 0) {
      --i;
      if (digits[i] == '.') continue;
      if (digits[i] != '9') {
        ++digits[i];
        break;
      }
      digits[i] = '0';
      if (i == 0) digits = '1' + digits;
    }
  }
  std::string text = digits;
  if (const size_t point = text.find('.'); point != std::string::npos) {
    size_t keep = text.size();
    while (keep > point + 1 + static_cast<size_t>(minDecimals) && text[keep - 1] == '0') --keep;
    if (keep == point + 1) keep = point;
    text.resize(keep);
  }
  // A value that rounds to zero shows no minus sign.
  const bool negative = value < 0 && text.find_first_not_of("0.") != std::string::npos;
  if (const size_t point = text.find('.'); point != std::string::npos)
    text = text.substr(0, point) + std::string(separator) + text.substr(point + 1);
  return negative ? "-" + text : text;
}

}  // namespace vmx
