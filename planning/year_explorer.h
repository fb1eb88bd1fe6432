// The year at the tank's place: for every day the sun's rise, set, day
// length and height, the moon, and with a schedule what each channel gives
// that day; and the warnings a keeper can act on. Everything is returned as
// data, for the window, the command line and the service alike.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "astro/time_zone.h"
#include "link/records.h"

namespace vmx {

struct YearSchedule {
  bool geo = false;  // rows keyed to the sun's altitude (mode Geo), else to the clock
  std::vector<ScheduleRow> rows;
};

struct WarningLimits {
  double minLitHours = 6;    // a channel lit for less on some day
  double maxSwingHours = 4;  // the day length moving by more over the year
};

struct YearRequest {
  int latTenths = 0;  // as the board keeps them: tenths of a degree, north and east positive
  int lonTenths = 0;
  int year = 0;
  std::shared_ptr<const TimeZone> zone;  // the clock the times are given in
  std::optional<YearSchedule> schedule;
  WarningLimits limits;
};

struct ChannelDay {
  int litMinutes = 0;     // level above 0
  double lightSum = 0;    // percent x hours
  double maxPercent = 0;  // highest level
  bool operator==(const ChannelDay&) const = default;
};

struct YearDay {
  int month = 1, day = 1;
  int zoneHours = 0;  // whole hours east of UTC, as the Geo page counts the zone
  // Local hours; nothing where the sun does not rise or set (polar day and
  // night), and for a moon event that does not fall on the day.
  std::optional<double> sunrise, sunset, moonrise, moonset;
  int dayMinutes = 0;       // the sun's centre above the horizon
  double sunMaxAlt = 0;     // degrees
  double moonPhase = 0;     // percent of the disc lit, at noon
  std::vector<ChannelDay> channels;  // kChannels entries with a schedule
};

struct YearWarning {
  enum class Kind { ShortLight, PolarWinter, DayLengthSwing };
  Kind kind = Kind::ShortLight;
  int channel = -1;  // ShortLight
  int days = 0;      // days it holds on (ShortLight, PolarWinter)
  int firstDay = 0;  // index of the first such day (DayLengthSwing: the shortest)
  // ShortLight: the shortest lit time, hours; PolarWinter: the altitude of the
  // first lit row, degrees; DayLengthSwing: the swing, hours.
  double value = 0;
  bool operator==(const YearWarning&) const = default;
};

struct YearReport {
  int year = 0;
  std::vector<YearDay> days;
  std::vector<YearWarning> warnings;
};

// Years the ephemeris serves.
inline constexpr int kFirstExploredYear = 1901;
inline constexpr int kLastExploredYear = 2099;

// Nothing for a year outside the ephemeris, a place off the globe or no zone.
std::optional<YearReport> ExploreYear(const YearRequest& request);

// The warning in the current language; `separator` is the decimal separator.
std::string WarningText(const YearReport& report, const YearWarning& warning,
                        std::string_view separator);

}  // namespace vmx
