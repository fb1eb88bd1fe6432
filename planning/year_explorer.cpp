#include "planning/year_explorer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "astro/geo_sky.h"
#include "astro/sunmoon.h"
#include "graphics/schedule_geometry.h"
#include "lang/catalogue.h"
#include "lang/number_text.h"
#include "planning/light_curve.h"
#include "planning/sun_day.h"

namespace vmx {
namespace {

// Rise and set closer than this are the clamp's sign of polar day or night.
constexpr double kNoRiseSet = 0.008333333333333333;

std::optional<double> Event(double hours) {
  if (hours < 0 || !std::isfinite(hours)) return std::nullopt;
  return hours;
}

// What each channel gives over one day, from its level at each minute's position.
template <class Position>
std::vector<ChannelDay> ChannelFigures(const LightCurve& curve, Position position) {
  std::vector<ChannelDay> figures(kChannels);
  std::array<double, kChannels> sum{}, peak{};
  std::array<int, kChannels> lit{};
  ChannelLevels levels;
  for (int m = 0; m < kDayMinutes; ++m) {
    curve.LevelsAt(position(m), levels);
    for (size_t c = 0; c < kChannels; ++c) {
      const double v = levels[c];
      lit[c] += v > 0;
      sum[c] += v;
      peak[c] = std::max(peak[c], v);
    }
  }
  for (size_t c = 0; c < kChannels; ++c) {
    figures[c].litMinutes = lit[c];
    figures[c].lightSum = sum[c] * 100 / kFullIntensity / 60;
    figures[c].maxPercent = peak[c] * 100 / kFullIntensity;
  }
  return figures;
}

// The first row that lights any channel: below its altitude the Geo schedule stays dark.
std::optional<double> FirstLitAltitude(const std::vector<ScheduleRow>& rows) {
  for (const ScheduleRow& row : rows)
    for (const int16_t level : row.Color16)
      if (level > 0) return AltitudeDegrees(row.Alt);
  return std::nullopt;
}

void AddWarnings(const YearRequest& request, YearReport& report) {
  const std::vector<YearDay>& days = report.days;
  const auto [shortest, longest] = std::minmax_element(
      days.begin(), days.end(),
      [](const YearDay& a, const YearDay& b) { return a.dayMinutes < b.dayMinutes; });
  if (!request.schedule) {
    // Without a schedule only the sun can be warned about.
  } else {
    for (int c = 0; c < kChannels; ++c) {
      YearWarning w{YearWarning::Kind::ShortLight, c, 0, -1, 24};
      bool everLit = false;
      for (size_t i = 0; i < days.size(); ++i) {
        const int lit = days[i].channels[static_cast<size_t>(c)].litMinutes;
        everLit = everLit || lit > 0;
        if (lit >= request.limits.minLitHours * 60) continue;
        if (w.days++ == 0) w.firstDay = static_cast<int>(i);
        w.value = std::min(w.value, lit / 60.0);
      }
      // A channel the schedule never lights is not in use, not short of light.
      if (everLit && w.days > 0) report.warnings.push_back(w);
    }
    if (request.schedule->geo) {
      if (const auto altitude = FirstLitAltitude(request.schedule->rows)) {
        YearWarning w{YearWarning::Kind::PolarWinter, -1, 0, -1, *altitude};
        for (size_t i = 0; i < days.size(); ++i) {
          if (days[i].sunMaxAlt >= *altitude) continue;
          if (w.days++ == 0) w.firstDay = static_cast<int>(i);
        }
        if (w.days > 0) report.warnings.push_back(w);
      }
    }
  }
  const double swing = (longest->dayMinutes - shortest->dayMinutes) / 60.0;
  if (swing > request.limits.maxSwingHours)
    report.warnings.push_back({YearWarning::Kind::DayLengthSwing, -1, 0,
                               static_cast<int>(shortest - days.begin()), swing});
}

}  // namespace

std::optional<YearReport> ExploreYear(const YearRequest& request) {
  if (request.year < kFirstExploredYear || request.year > kLastExploredYear || !request.zone ||
      std::abs(request.latTenths) > 900 || std::abs(request.lonTenths) > 1800)
    return std::nullopt;
  const double lat = request.latTenths * 0.1 * DEG;
  const double lon = request.lonTenths * 0.1 * DEG;

  std::optional<LightCurve> curve;
  std::vector<ChannelDay> clockDay;  // Auto: the same every day
  if (request.schedule) {
    curve.emplace(request.schedule->rows, request.schedule->geo);
    if (!request.schedule->geo)
      clockDay = ChannelFigures(*curve, [](int m) { return static_cast<double>(m); });
  }

  YearReport report;
  report.year = request.year;
  SunDay sun;
  for (int month = 1; month <= 12; ++month) {
    for (int d = 1; d <= DaysInMonth(request.year, month); ++d) {
      YearDay day;
      day.month = month;
      day.day = d;
      // One zone for the whole day, the one in force at noon: the day a clock
      // changes keeps its morning and evening in the same frame.
      day.zoneHours = request.zone->OffsetMinutes({request.year, month, d, 12, 0, 0, 0}) / 60;
      const double jd0 = JulianDay(d, month, request.year);

      const TRiseSet sunTimes = SunRiseSet(jd0, kDeltaTSeconds, lon, lat, day.zoneHours, false);
      if (std::abs(sunTimes.Rise - sunTimes.Set) > kNoRiseSet) {
        day.sunrise = Event(sunTimes.Rise);
        day.sunset = Event(sunTimes.Set);
      }
      const TRiseSet moonTimes = MoonRiseSet(jd0, kDeltaTSeconds, lon, lat, day.zoneHours, false);
      // As for the sun, a moon that neither rises nor sets has both on one moment.
      if (std::abs(moonTimes.Rise - moonTimes.Set) > kNoRiseSet) {
        day.moonrise = Event(moonTimes.Rise);
        day.moonset = Event(moonTimes.Set);
      }
      const double noon = jd0 + (12.0 - day.zoneHours) / 24 + kDeltaTSeconds / 86400;
      day.moonPhase =
          MoonCoordinates(SunCoordinates(noon, 0, 0), TCoor{}, noon, 0).Illumination * 100;

      ComputeSunDay(jd0, day.zoneHours, lat, lon, sun);
      day.sunMaxAlt = *std::max_element(sun.altitude.begin(), sun.altitude.end());
      day.dayMinutes = static_cast<int>(
          std::count_if(sun.altitude.begin(), sun.altitude.end(), [](double a) { return a > 0; }));

      if (curve && request.schedule->geo)
        day.channels = ChannelFigures(*curve, [&](int m) { return sun.path[static_cast<size_t>(m)]; });
      else if (curve)
        day.channels = clockDay;
      report.days.push_back(std::move(day));
    }
  }
  AddWarnings(request, report);
  return report;
}

std::string WarningText(const YearReport& report, const YearWarning& warning,
                        std::string_view separator) {
  const YearDay& first = report.days.at(static_cast<size_t>(warning.firstDay));
  char date[16];
  std::snprintf(date, sizeof date, "%04d-%02d-%02d", report.year, first.month, first.day);
  const std::string value = FormatDecimal(warning.value, 0, 1, separator);
  switch (warning.kind) {
    case YearWarning::Kind::ShortLight:
      return LangFormat("YearShortLight", {std::string(1, static_cast<char>('A' + warning.channel)),
                                           std::to_string(warning.days), date, value});
    case YearWarning::Kind::PolarWinter:
      return LangFormat("YearPolarWinter", {std::to_string(warning.days), value, date});
    case YearWarning::Kind::DayLengthSwing:
      return LangFormat("YearDayLengthSwing", {value, date});
  }
  return {};
}

}  // namespace vmx
