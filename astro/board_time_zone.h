// The zone the board keeps its clock in: its offset from UTC and, when it
// has them, the two yearly switches between standard and daylight time, as
// the Expert record's time-zone fields hold them.
#pragma once

#include <optional>

#include "astro/time_zone.h"
#include "link/records.h"

namespace vmx {

class BoardTimeZone final : public TimeZone {
 public:
  explicit BoardTimeZone(const Expert& expert);

  int OffsetMinutes(const LocalDateTime& t) const override;
  std::optional<TimeZoneInfo> Rules() const override { return std::nullopt; }

 private:
  // A switch falls on the last `dayOfWeek` (0 = Sunday, 7 too) on or before
  // `day` of `month`, at `hour` of the time in force before it.
  struct Switch {
    int month = 0, day = 0, hour = 0, dayOfWeek = 0;
    LocalDateTime In(int year) const;
  };

  int bias_ = 0;  // minutes east of UTC
  std::optional<Switch> daylight_;
  std::optional<Switch> standard_;
};

}  // namespace vmx
