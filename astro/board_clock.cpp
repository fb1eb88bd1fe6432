#include "astro/board_clock.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "lang/number_text.h"

namespace vmx {

std::optional<LocalDateTime> BoardClockTime(const Info& info) {
  const LocalDateTime t{2000 + info.Year, info.Month, info.Day, info.Hour, info.Minute, 0, 0};
  if (t.day < 1 || t.day > DaysInMonth(t.year, t.month)) return std::nullopt;
  if (t.hour < 0 || t.hour > 23 || t.minute < 0 || t.minute > 59) return std::nullopt;
  return t;
}

std::optional<BoardMoment> BoardClockMoment(const Info& info) {
  const std::optional<LocalDateTime> t = BoardClockTime(info);
  if (!t) return std::nullopt;
  return BoardMoment{*t, WholeHourZone(*t)};
}

uint8_t Centisecond(int millisecond) {
  // Rounding 995 ms and more would give 100, which the board does not know.
  const double rounded = std::nearbyint(std::clamp(millisecond, 0, 999) * 0.1);
  return static_cast<uint8_t>(std::min(rounded, 99.0));
}

void SetBoardClock(Info& info, const LocalDateTime& now) {
  info.Day = static_cast<int8_t>(now.day);
  info.Month = static_cast<int8_t>(now.month);
  info.Year = static_cast<int8_t>(now.year - 2000);
  info.Reserved12[0] = 0;
  info.Hour = static_cast<int8_t>(now.hour);
  info.Minute = static_cast<int8_t>(now.minute);
  info.Second = static_cast<int8_t>(now.second);
  info.Centisecond = Centisecond(now.millisecond);
}

std::string FormatClockTime(int hour, int minute) {
  auto twoDigits = [](int v) {
    char text[16];
    std::snprintf(text, sizeof text, "%s%02d", v < 0 ? "-" : "", std::abs(v));
    return std::string(text);
  };
  return twoDigits(hour) + ":" + twoDigits(minute);
}

std::optional<TypedTime> ParseTypedTime(std::string_view text) {
  const size_t colon = text.find(':');
  if (colon == std::string_view::npos) return std::nullopt;
  const std::optional<int64_t> hour = ParseInteger(text.substr(0, colon));
  const std::optional<int64_t> minute = ParseInteger(text.substr(colon + 1));
  if (!hour || !minute) return std::nullopt;
  // Both are 32-bit, so the product cannot overflow 64 bits.
  const int64_t position = std::clamp<int64_t>(*hour * 60 + *minute, 0, kLastMinuteOfDay);
  return TypedTime{static_cast<int>(*hour), static_cast<int>(*minute), static_cast<int>(position)};
}

}  // namespace vmx
