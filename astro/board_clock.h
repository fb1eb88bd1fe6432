// The board's clock as the Geo page reads and sets it: the Info record's date
// and time fields, the computer's zone at that moment, and the time as typed.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "astro/time_zone.h"
#include "link/records.h"

namespace vmx {

// The last minute of the day the time slider reaches.
constexpr int kLastMinuteOfDay = 24 * 60 - 1;

// The board clock's moment: its local date and time to the minute, and the
// computer's offset from UTC at that local time in whole hours (truncated, so
// +5:30 counts as +5). Taken at the board's date, so a daylight-saving change
// follows the board's calendar, not the computer's.
struct BoardMoment {
  LocalDateTime t;
  int zone = 0;
};

// Nothing while the clock fields are no moment: before the first read (month
// 0), after an RTC fault, or a time typed past the day (hour 25).
std::optional<LocalDateTime> BoardClockTime(const Info& info);
std::optional<BoardMoment> BoardClockMoment(const Info& info);

// Sets the whole board clock from the computer's local time, as the Now
// button does: date, time, the reserved byte after the year cleared, and the
// hundredths rounded from the milliseconds but never past 99.
void SetBoardClock(Info& info, const LocalDateTime& now);

// Hundredths of a second for the board, 0..99.
uint8_t Centisecond(int millisecond);

// Hour and minute as the time field shows them: "07:05".
std::string FormatClockTime(int hour, int minute);

// A time typed as "hour:minute": split at the first colon, each side an
// integer. Hour and minute are kept as typed (25:00 is hour 25); the slider
// position they stand for is clamped to the day.
struct TypedTime {
  int hour = 0;
  int minute = 0;
  int sliderPosition = 0;
};
std::optional<TypedTime> ParseTypedTime(std::string_view text);

}  // namespace vmx
