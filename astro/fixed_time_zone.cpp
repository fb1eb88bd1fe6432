#include "astro/fixed_time_zone.h"

namespace vmx {

FixedTimeZone FixedTimeZone::FromOffsetMinutes(int offsetMinutes) {
  TimeZoneInfo rules;
  rules.bias = -offsetMinutes;
  return FixedTimeZone(rules);
}

int FixedTimeZone::OffsetMinutes(const LocalDateTime& t) const {
  return UtcOffsetMinutes(rules_, t);
}

std::optional<TimeZoneInfo> FixedTimeZone::Rules() const {
  if (!IsValidTimeZoneInfo(rules_)) return std::nullopt;
  return rules_;
}

}  // namespace vmx
