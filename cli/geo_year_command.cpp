#include "cli/geo_year_command.h"

#include <cmath>
#include <cstdio>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "astro/board_time_zone.h"
#include "astro/sunmoon.h"
#include "astro/zone_database.h"
#include "cli/board_session.h"
#include "cli/geo_command.h"
#include "cli/json_writer.h"
#include "lang/number_text.h"
#include "persist/settings_file.h"
#include "planning/plan_file.h"
#include "planning/year_explorer.h"
#include "settings/device_actions.h"

namespace vmx::cli {
namespace {

const char* const kUsage =
    "usage: velmarinex-cli geo year [--lat DEG --lon DEG] [--year Y] [--zone IANA-NAME]\n"
    "                               [--schedule FILE | --port PORT] [--json]\n"
    "                               [--min-lit HOURS] [--max-swing HOURS]\n"
    "  One line per day: date, sunrise, sunset, length of day, the sun's highest\n"
    "  altitude, moon phase (% lit), moonrise, moonset and, with a schedule, the\n"
    "  hours each channel A..L is lit; tab-separated, \"--:--\" for what does not happen.\n"
    "  --lat, --lon   the place (default: the board's or the file's)\n"
    "  --year Y       1901..2099 (default: this year)\n"
    "  --zone NAME    times in this zone of the zone database (Europe/Berlin); else\n"
    "                 the board's zone with --port, else this computer's zone\n"
    "  --schedule     a settings file's schedule; --port the board's (with -v, --timeout)\n"
    "  --json         an array of days; times ISO 8601 with their offset, null for\n"
    "                 what does not happen, angles in degrees\n"
    "  --min-lit      warn of a channel lit less than this on some day (default 6)\n"
    "  --max-swing    warn of a length of day swinging more over the year (default 4)\n"
    "  Warnings go to standard error.\n";

struct YearArguments {
  std::optional<int> lat, lon, year;
  std::string zone, schedule;
  std::vector<std::string> board;  // PORT and its options, as board commands take them
  bool json = false;
  WarningLimits limits;
};

std::optional<YearArguments> Parse(int argc, char** argv, std::string& problem) {
  YearArguments a;
  for (int i = 1; i < argc; ++i) {
    const std::string word = argv[i];
    if (word == "--json") {
      a.json = true;
      continue;
    }
    if (word == "-v" || word == "--verbose") {
      a.board.push_back(word);
      continue;
    }
    if (i + 1 >= argc) return problem = "missing value or unknown option: " + word, std::nullopt;
    const std::string value = argv[++i];
    bool ok = true;
    if (word == "--lat") {
      ok = !a.lat && (a.lat = ParseTenths(value, 90));
    } else if (word == "--lon") {
      ok = !a.lon && (a.lon = ParseTenths(value, 180));
    } else if (word == "--year") {
      const auto y = ParseReal(value);
      ok = y && *y == std::floor(*y) && *y >= kFirstExploredYear && *y <= kLastExploredYear;
      if (ok) a.year = static_cast<int>(*y);
    } else if (word == "--zone") {
      a.zone = value;
    } else if (word == "--schedule") {
      a.schedule = value;
    } else if (word == "--port" || word == "--timeout") {
      if (word == "--timeout") a.board.push_back(word);
      a.board.push_back(value);
    } else if (word == "--min-lit" || word == "--max-swing") {
      const auto hours = ParseReal(value);
      ok = hours && *hours >= 0 && *hours <= 24;
      if (ok) (word == "--min-lit" ? a.limits.minLitHours : a.limits.maxSwingHours) = *hours;
    } else {
      ok = false;
    }
    if (!ok) return problem = "bad " + word + " " + value, std::nullopt;
  }
  if (!a.schedule.empty() && !a.board.empty())
    return problem = "--schedule and --port exclude each other", std::nullopt;
  if (a.schedule.empty() && a.board.empty() && (!a.lat || !a.lon))
    return problem = "--lat and --lon are needed without --schedule or --port", std::nullopt;
  return a;
}

// The configuration and every row a settings file holds.
std::optional<SettingsRecords> ReadFile(const std::string& path, std::string& problem) {
  const SettingsText text = LoadSettingsFile(path);
  if (!text.doc) return problem = text.error, std::nullopt;
  SettingsRecords records;
  size_t rows = 0;
  while (rows < 256 && text.doc->HasSection(RowSectionName(rows))) ++rows;
  records.schedule.resize(rows);
  ReadConfiguration(*text.doc, records);
  ReadSchedule(*text.doc, records);
  if (rows == 0) return problem = path + " holds no schedule rows", std::nullopt;
  return records;
}

// "2024-06-21T04:43+02:00", or null.
std::string IsoTime(int year, const YearDay& d, const std::optional<double>& hours) {
  if (!hours) return "null";
  long long day = DaysFromCivil(year, d.month, d.day);
  long long minutes = std::llround(*hours * 60);
  day += minutes / 1440;
  minutes %= 1440;
  char text[48];
  std::snprintf(text, sizeof text, "\"%sT%02lld:%02lld%c%02d:00\"", DateText(day).c_str(),
                minutes / 60, minutes % 60, d.zoneHours < 0 ? '-' : '+', std::abs(d.zoneHours));
  return text;
}

std::string DayJson(int year, const YearDay& d) {
  JsonObject o;
  o.AddString("date", DateText(DaysFromCivil(year, d.month, d.day)));
  o.AddRaw("sunrise", IsoTime(year, d, d.sunrise)).AddRaw("sunset", IsoTime(year, d, d.sunset));
  o.AddInt("day_minutes", d.dayMinutes);
  o.AddRaw("sun_max_alt", FormatDecimal(d.sunMaxAlt, 0, 2, "."));
  o.AddRaw("moon_phase", FormatDecimal(d.moonPhase, 0, 1, "."));
  o.AddRaw("moonrise", IsoTime(year, d, d.moonrise)).AddRaw("moonset", IsoTime(year, d, d.moonset));
  if (!d.channels.empty()) {
    std::string channels = "[";
    for (const ChannelDay& c : d.channels) {
      JsonObject ch;
      ch.AddInt("lit_minutes", c.litMinutes);
      ch.AddRaw("light_sum", FormatDecimal(c.lightSum, 0, 2, "."));
      ch.AddRaw("max_percent", FormatDecimal(c.maxPercent, 0, 2, "."));
      channels += (channels.size() > 1 ? ", " : "") + ch.Text();
    }
    o.AddRaw("channels", channels + "]");
  }
  return o.Text();
}

std::string HoursText(const std::optional<double>& hours) {
  return FormatHourMinute(hours.value_or(-1));
}

std::string DayLine(int year, const YearDay& d) {
  std::string line = DateText(DaysFromCivil(year, d.month, d.day)) + "\t" + HoursText(d.sunrise) +
                     "\t" + HoursText(d.sunset) + "\t" + FormatHourMinute(d.dayMinutes / 60.0) +
                     "\t" + FormatDecimal(d.sunMaxAlt, 1, 1, ".") + "\t" +
                     FormatDecimal(d.moonPhase, 0, 1, ".") + "\t" + HoursText(d.moonrise) + "\t" +
                     HoursText(d.moonset);
  for (const ChannelDay& c : d.channels) line += "\t" + FormatHourMinute(c.litMinutes / 60.0);
  return line;
}

}  // namespace

const char* GeoYearUsage() {
  return kUsage;
}

int GeoYearCommand(int argc, char** argv) {
  std::string problem;
  const auto a = Parse(argc, argv, problem);
  if (!a) {
    std::cerr << "velmarinex-cli geo year: " << problem << "\n" << kUsage;
    return 2;
  }
  YearRequest request;
  request.year = a->year.value_or(ComputerClock().year);
  request.limits = a->limits;
  if (!a->zone.empty()) {
    request.zone = LoadNamedTimeZone(a->zone);
    if (!request.zone) {
      std::cerr << "velmarinex-cli geo year: no zone " << a->zone << " in the zone database\n";
      return 2;
    }
  }
  std::optional<SettingsRecords> settings;
  if (!a->schedule.empty()) {
    settings = ReadFile(a->schedule, problem);
    if (!settings) {
      std::cerr << "velmarinex-cli geo year: " << problem << "\n";
      return 1;
    }
  } else if (!a->board.empty()) {
    std::vector<std::string> words{"year"};
    words.insert(words.end(), a->board.begin(), a->board.end());
    std::vector<char*> args;
    for (std::string& w : words) args.push_back(w.data());
    const auto board = ParseBoardArguments(static_cast<int>(args.size()), args.data(), problem);
    if (!board || !board->rest.empty()) {
      std::cerr << "velmarinex-cli geo year: " << (board ? "one port only" : problem) << "\n";
      return 2;
    }
    BoardSession session(*board);
    if (!session.Open(problem)) {
      std::cerr << "velmarinex-cli geo year: " << problem << "\n";
      return 1;
    }
    Expert expert;
    session.OnUi([&] {
      settings = TakeSettings(session.Store());
      expert = session.Store().expert;
    });
    if (!request.zone) request.zone = std::make_shared<const BoardTimeZone>(expert);
  }
  if (!request.zone) request.zone = CurrentTimeZone();
  if (settings) {
    request.schedule = YearSchedule{ModeOf(settings->config.Mode) == BoardMode::Geo, settings->schedule};
    request.latTenths = a->lat.value_or(settings->config.Lat);
    request.lonTenths = a->lon.value_or(settings->config.Lon);
  } else {
    request.latTenths = *a->lat;
    request.lonTenths = *a->lon;
  }
  const auto report = ExploreYear(request);
  if (!report) {
    std::cerr << "velmarinex-cli geo year: the place lies off the globe\n";
    return 2;
  }
  std::string out = a->json ? "[\n" : "";
  for (size_t i = 0; i < report->days.size(); ++i) {
    const YearDay& d = report->days[i];
    out += a->json ? DayJson(report->year, d) + (i + 1 < report->days.size() ? ",\n" : "\n")
                   : DayLine(report->year, d) + "\n";
  }
  if (a->json) out += "]\n";
  std::fputs(out.c_str(), stdout);
  for (const YearWarning& w : report->warnings)
    std::cerr << "warning: " << WarningText(*report, w, ".") << "\n";
  return std::ferror(stdout) ? 1 : 0;
}

}  // namespace vmx::cli
