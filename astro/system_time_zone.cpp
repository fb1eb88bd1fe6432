#include "astro/system_time_zone.h"

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

#include "astro/fixed_time_zone.h"
#include "astro/library_time_zone.h"
#include "astro/posix_time_zone.h"
#include "astro/zone_database.h"

namespace vmx {

namespace {

// The rule string that governs the local zone now, when there is one.
std::optional<std::string> LocalRuleString() {
  const char* tz = std::getenv("TZ");
  if (!tz) return ZoneFileFooter("/etc/localtime");
  std::string_view value = tz;
  const bool fileOnly = value.starts_with(':');
  if (fileOnly) value.remove_prefix(1);
  if (value.empty()) return std::string("UTC0");
  if (const auto path = ZoneFilePath(value)) {
    if (auto footer = ZoneFileFooter(*path)) return footer;
  }
  if (fileOnly) return std::nullopt;
  return std::string(value);
}

bool AgreesWithLibrary(const TimeZone& rules) {
  const std::time_t now = std::time(nullptr);
  std::tm today{};
  localtime_r(&now, &today);
  const int year = today.tm_year + 1900;
  const LibraryTimeZone library;
  for (int y = year; y <= year + 1; ++y)
    for (int month = 1; month <= 12; ++month)
      for (int day : {1, 15}) {
        const LocalDateTime t{y, month, day, 12, 0, 0, 0};
        if (rules.OffsetMinutes(t) != library.OffsetMinutes(t)) return false;
      }
  return true;
}

}  // namespace

std::shared_ptr<const TimeZone> LoadSystemTimeZone() {
  tzset();
  if (const auto text = LocalRuleString()) {
    if (const auto info = ParsePosixTimeZone(*text)) {
      auto zone = std::make_shared<const FixedTimeZone>(*info);
      if (AgreesWithLibrary(*zone)) return zone;
    }
  }
  return std::make_shared<const LibraryTimeZone>();
}

}  // namespace vmx
