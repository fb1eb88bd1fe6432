// The C library's idea of the local zone, asked moment by moment. It stands in
// for zones whose rules one fixed rule set cannot describe.
#pragma once

#include "astro/time_zone.h"

namespace vmx {

class LibraryTimeZone : public TimeZone {
 public:
  int OffsetMinutes(const LocalDateTime& t) const override;
  std::optional<TimeZoneInfo> Rules() const override { return std::nullopt; }
};

}  // namespace vmx
