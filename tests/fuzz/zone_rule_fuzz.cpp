// Zone files and rule strings as the system hands them over: the footer of a
// compiled zone file, its rule string, and the offsets the rules give.
#include <cstdint>
#include <string_view>

#include "astro/posix_time_zone.h"
#include "astro/time_zone.h"
#include "tests/fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vmx;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  // Both readings: the input as a whole zone file and as a bare rule string.
  std::optional<std::string> footer = TzifFooter(bytes);
  for (const std::string_view rules : {footer ? std::string_view(*footer) : bytes, bytes}) {
    const auto zone = ParsePosixTimeZone(rules);
    if (!zone) continue;
    FUZZ_CHECK(IsValidTimeZoneInfo(*zone));
    for (const int year : {1970, 2024, 2099}) {
      for (const TimeZoneRule* rule : {&zone->standardDate, &zone->daylightDate}) {
        if (rule->month == 0) continue;
        const LocalDateTime at = RuleDate(*rule, year);
        FUZZ_CHECK(at.month == rule->month);
        FUZZ_CHECK(at.day >= 1 && at.day <= DaysInMonth(year, at.month));
      }
      for (const int month : {1, 6, 12}) {
        const int offset = UtcOffsetMinutes(*zone, {year, month, 15, 12, 0, 0, 0});
        FUZZ_CHECK(offset > -2 * 24 * 60 && offset < 2 * 24 * 60);
      }
    }
  }
  return 0;
}
