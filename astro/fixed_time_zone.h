// A zone given as one rule set (or a plain offset) instead of read from the system.
#pragma once

#include "astro/time_zone.h"

namespace vmx {

class FixedTimeZone : public TimeZone {
 public:
  // Rules that cannot be evaluated (see IsValidTimeZoneInfo) leave the plain bias.
  explicit FixedTimeZone(const TimeZoneInfo& rules) : rules_(rules) {}
  // A zone without daylight saving, offsetMinutes east of UTC.
  static FixedTimeZone FromOffsetMinutes(int offsetMinutes);

  int OffsetMinutes(const LocalDateTime& t) const override;
  std::optional<TimeZoneInfo> Rules() const override;

 private:
  TimeZoneInfo rules_;
};

}  // namespace vmx
