// Numbers as typed into the pages: decimal and integer parsing under the
// decimal separators locales use, and the text shown for what was parsed.
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "lang/number_text.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

// Point, comma, the Arabic decimal separator (two bytes), and none at all.
constexpr std::string_view kSeparators[] = {".", ",", "\xD9\xAB", ""};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vmx;
  if (size == 0) return 0;
  const std::string_view separator = kSeparators[data[0] % std::size(kSeparators)];
  const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);

  if (const auto x = ParseDecimal(text, separator)) {
    FUZZ_CHECK(std::isfinite(*x));
    FUZZ_CHECK(std::fabs(*x) <= 1e15);
    if (!separator.empty()) {
      // What is shown for a value reads back as that value, to the decimals shown.
      for (const auto& [lo, hi] : {std::pair{0, 2}, std::pair{0, 1}, std::pair{1, 1}}) {
        const std::string shown = FormatDecimal(*x, lo, hi, separator);
        const auto back = ParseDecimal(shown, separator);
        FUZZ_CHECK(back.has_value());
        FUZZ_CHECK(std::fabs(*back - *x) <=
                   0.5 * std::pow(10.0, -hi) * (1 + 1e-9) + std::fabs(*x) * 1e-15);
      }
    }
    const auto n = RoundToInteger(*x);
    FUZZ_CHECK(n.has_value());
    FUZZ_CHECK(std::fabs(static_cast<double>(*n) - *x) <= 0.5);
  }

  if (const auto n = ParseInteger(text)) {
    FUZZ_CHECK(*n >= INT32_MIN && *n <= INT32_MAX);
    FUZZ_CHECK(ParseInteger(std::to_string(*n)) == n);
  }
  return 0;
}
