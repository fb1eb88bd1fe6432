// Text typed into the settings edits and the temperature fields, read as each
// kind of edit reads it, and the value it gives shown again.
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

#include "link/shared_store.h"
#include "settings/bindings.h"
#include "settings/record_access.h"
#include "settings/temperature.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

constexpr std::string_view kSeparators[] = {".", ",", "\xD9\xAB"};
constexpr vmx::Shown kKinds[] = {vmx::Shown::Integer,     vmx::Shown::Percent255,
                                 vmx::Shown::Percent4096, vmx::Shown::Tenths,
                                 vmx::Shown::TenthsShort, vmx::Shown::Temperature};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vmx;
  if (size < 2) return 0;
  const std::string_view separator = kSeparators[data[0] % std::size(kSeparators)];
  const uint8_t flag = data[1];  // the Config flag: Fahrenheit or Celsius
  const std::string_view text(reinterpret_cast<const char*>(data + 2), size - 2);

  for (const Shown shown : kKinds) {
    const auto value = ParseShown(shown, text, flag, separator);
    if (!value) continue;
    // A value a field can hold shows as text that reads back as the same value.
    if (std::llabs(*value) <= 1'000'000'000) {
      const std::string again = FormatShown(shown, *value, flag, separator);
      FUZZ_CHECK(ParseShown(shown, again, flag, separator) == value);
    }
  }

  if (const auto tenths = ParseTemperature(text, flag, separator)) {
    if (std::llabs(*tenths) <= 1'000'000'000) {
      const std::string again = FormatTemperature(*tenths, flag, separator);
      FUZZ_CHECK(ParseTemperature(again, flag, separator) == tenths);
    }
  }

  // What a page does with it: the value cut to each bound field's width.
  SharedStore store;
  for (const Binding& b : SettingsBindings()) {
    std::string field(b.field);
    if (field.ends_with('#')) field.back() = '0';
    const auto value = ParseShown(b.shown, text, flag, separator);
    if (!value) continue;
    FUZZ_CHECK(WriteField(store, b.record, field, *value));
    FUZZ_CHECK(ReadField(store, b.record, field).has_value());
  }
  return 0;
}
