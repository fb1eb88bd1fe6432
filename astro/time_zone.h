// The computer's offset from UTC at a given local time. The zone is a seam: by
// default the local zone of the system, or a fixed rule set named by a caller
// (tests, the command-line tool).
#pragma once

#include <compare>
#include <memory>
#include <optional>

namespace vmx {

// A wall-clock date and time without a zone. Ordered field by field.
struct LocalDateTime {
  int year = 0;
  int month = 1;
  int day = 1;
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;
  auto operator<=>(const LocalDateTime&) const = default;
};

// A yearly transition: the occurrence-th (1..5, 5 = last) day-of-week (0 =
// Sunday .. 6, 7 also Sunday) of month, at the given local time of day.
struct TimeZoneRule {
  int month = 0;  // 0: the zone has no such transition
  int dayOfWeek = 0;
  int occurrence = 0;
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;
  bool operator==(const TimeZoneRule&) const = default;
};

// A zone as one fixed rule set. Biases in minutes, UTC = local time + bias.
struct TimeZoneInfo {
  int bias = 0;
  TimeZoneRule standardDate;
  int standardBias = 0;
  TimeZoneRule daylightDate;
  int daylightBias = 0;
  bool operator==(const TimeZoneInfo&) const = default;
};

// Whether a rule set can be evaluated: months 1..12 (a daylight month of 0 for
// a zone without daylight saving), occurrences 1..5, weekdays 0..7, times of day
// within the day, and biases within a day.
bool IsValidTimeZoneInfo(const TimeZoneInfo& zone);

// The transition moment of a rule in a year, as local date-time. An occurrence
// past the month's last such weekday means the last one. Requires a valid rule.
LocalDateTime RuleDate(const TimeZoneRule& rule, int year);

// Minutes to add to UTC to get the local time t in the zone.
int UtcOffsetMinutes(const TimeZoneInfo& zone, const LocalDateTime& t);

// Gregorian calendar helpers shared by the zone code.
bool IsLeapYear(int year);
int DaysInMonth(int year, int month);                   // 0 for a month outside 1..12
long long DaysFromCivil(int year, int month, int day);  // days since 1970-01-01
LocalDateTime CivilFromDays(long long days);            // the date at 00:00

class TimeZone {
 public:
  virtual ~TimeZone() = default;
  // Minutes to add to UTC to get local time, at the local time t.
  virtual int OffsetMinutes(const LocalDateTime& t) const = 0;
  // The zone as one rule set, when one describes it.
  virtual std::optional<TimeZoneInfo> Rules() const = 0;
};

// The zone UtcOffsetMinutes(t) answers for; nullptr returns to the system's
// local zone. Any thread may ask; the system zone is read on first use.
void SetTimeZone(std::shared_ptr<const TimeZone> zone);
std::shared_ptr<const TimeZone> CurrentTimeZone();

// Minutes to add to UTC to get the local time t in the current zone.
int UtcOffsetMinutes(const LocalDateTime& t);
// The offset in whole hours, truncated towards zero (+5:30 counts as +5).
int WholeHourZone(const LocalDateTime& t);

}  // namespace vmx
