#include "astro/board_time_zone.h"

#include <algorithm>

namespace vmx {
namespace {

// The board moves its clock by one hour; it keeps no daylight offset of its own.
constexpr int kDaylightMinutes = 60;

// 0 = Sunday .. 6 = Saturday.
int Weekday(int year, int month, int day) {
  return static_cast<int>(((DaysFromCivil(year, month, day) + 4) % 7 + 7) % 7);
}

}  // namespace

LocalDateTime BoardTimeZone::Switch::In(int year) const {
  const int last = std::min(day, DaysInMonth(year, month));
  const int back = (Weekday(year, month, last) - dayOfWeek % 7 + 7) % 7;
  // A month too short for the weekday before `day` (day 3, say) has its switch
  // on the month's first such weekday instead of in the month before.
  const int switchDay = last - back >= 1 ? last - back : last - back + 7;
  return {year, month, switchDay, hour, 0, 0, 0};
}

BoardTimeZone::BoardTimeZone(const Expert& expert) : bias_(expert.Bias) {
  auto read = [](int month, int day, int hour, int dayOfWeek) -> std::optional<Switch> {
    if (month < 1 || month > 12 || day < 1 || hour < 0 || hour > 23 || dayOfWeek < 0 ||
        dayOfWeek > 7)
      return std::nullopt;
    return Switch{month, day, hour, dayOfWeek};
  };
  daylight_ = read(expert.DaylightMonth, expert.DaylightDay, expert.DaylightHour,
                   expert.DaylightDayOfWeek);
  standard_ = read(expert.StandardMonth, expert.StandardDay, expert.StandardHour,
                   expert.StandardDayOfWeek);
  // A bias beyond a day is no zone; such a board's clock counts as UTC.
  if (bias_ <= -24 * 60 || bias_ >= 24 * 60) bias_ = 0;
}

int BoardTimeZone::OffsetMinutes(const LocalDateTime& t) const {
  if (!daylight_ || !standard_) return bias_;
  const LocalDateTime start = daylight_->In(t.year);
  const LocalDateTime end = standard_->In(t.year);
  // South of the equator daylight time runs over the new year.
  bool daylight = false;
  if (start < end)
    daylight = start <= t && t < end;
  else if (end < start)
    daylight = t >= start || t < end;
  return bias_ + (daylight ? kDaylightMinutes : 0);
}

}  // namespace vmx
