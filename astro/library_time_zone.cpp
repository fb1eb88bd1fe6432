#include "astro/library_time_zone.h"

#include <ctime>

namespace vmx {

int LibraryTimeZone::OffsetMinutes(const LocalDateTime& t) const {
  std::tm local{};
  local.tm_year = t.year - 1900;
  local.tm_mon = t.month - 1;
  local.tm_mday = t.day;
  local.tm_hour = t.hour;
  local.tm_min = t.minute;
  local.tm_sec = t.second;
  local.tm_isdst = -1;
  const std::time_t utc = std::mktime(&local);
  // mktime has normalised the fields to the wall-clock time of that moment, so
  // their difference from the moment itself is the offset (no tm_gmtoff needed).
  // A time the C library cannot place (far outside its range) counts as UTC.
  if (utc == static_cast<std::time_t>(-1)) return 0;
  const long long wall =
      DaysFromCivil(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday) * 86400LL +
      local.tm_hour * 3600LL + local.tm_min * 60LL + local.tm_sec;
  return static_cast<int>((wall - static_cast<long long>(utc)) / 60);
}

}  // namespace vmx
