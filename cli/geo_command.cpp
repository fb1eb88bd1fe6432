#include "cli/geo_command.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "astro/fixed_time_zone.h"
#include "astro/geo_text.h"
#include "cli/json_writer.h"
#include "lang/catalogue.h"

namespace vmx::cli {

namespace {

const char* const kUsage =
    "usage: velmarinex-cli geo --lat DEG --lon DEG --date YYYY-MM-DD --time HH:MM\n"
    "                          [--zone HOURS] [--german] [--json]\n"
    "  --lat DEG      latitude, north positive (-90..90)\n"
    "  --lon DEG      longitude, east positive (-180..180)\n"
    "  --date, --time the board clock\n"
    "  --zone HOURS   the computer's offset from UTC (default: this computer's zone)\n"
    "  --german       German words\n"
    "  --json         every value as one JSON object: angles in radians, times in hours\n";

struct GeoArguments {
  int latTenths = 0;
  int lonTenths = 0;
  LocalDateTime clock;
  std::optional<int> zoneMinutes;
  bool german = false;
  bool json = false;
};

std::optional<double> ParseReal(std::string_view text) {
  if (text.empty()) return std::nullopt;
  const std::string s(text);
  char* end = nullptr;
  const double v = std::strtod(s.c_str(), &end);
  if (end != s.c_str() + s.size() || !std::isfinite(v)) return std::nullopt;
  return v;
}

std::optional<int> ParseDigits(std::string_view text, size_t digits) {
  if (text.size() != digits) return std::nullopt;
  int v = 0;
  const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (ec != std::errc() || ptr != text.data() + text.size() || text.front() == '-')
    return std::nullopt;
  return v;
}

// Tenths of a degree as the board stores a location: rounded, ties to even.
std::optional<int> ParseTenths(std::string_view text, double limit) {
  const auto v = ParseReal(text);
  if (!v || std::abs(*v) > limit) return std::nullopt;
  return static_cast<int>(std::nearbyint(*v * 10));
}

// The board keeps its year as an offset from 2000 in one signed byte.
bool ParseDate(std::string_view text, LocalDateTime& t) {
  if (text.size() != 10 || text[4] != '-' || text[7] != '-') return false;
  const auto y = ParseDigits(text.substr(0, 4), 4);
  const auto m = ParseDigits(text.substr(5, 2), 2);
  const auto d = ParseDigits(text.substr(8, 2), 2);
  if (!y || !m || !d || *y < 2000 - 128 || *y > 2000 + 127) return false;
  if (*d < 1 || *d > DaysInMonth(*y, *m)) return false;
  t.year = *y;
  t.month = *m;
  t.day = *d;
  return true;
}

bool ParseTime(std::string_view text, LocalDateTime& t) {
  const size_t colon = text.find(':');
  if (colon == std::string_view::npos || colon == 0 || colon > 2) return false;
  const auto h = ParseDigits(text.substr(0, colon), colon);
  const auto m = ParseDigits(text.substr(colon + 1), 2);
  if (!h || !m || *h > 23 || *m > 59) return false;
  t.hour = *h;
  t.minute = *m;
  return true;
}

std::optional<int> ParseZoneMinutes(std::string_view text) {
  const auto v = ParseReal(text);
  if (!v || std::abs(*v) >= 24) return std::nullopt;
  return static_cast<int>(std::lround(*v * 60));
}

std::optional<GeoArguments> Parse(const std::vector<std::string>& args, std::string& problem) {
  GeoArguments a;
  std::optional<int> lat, lon;
  bool haveDate = false, haveTime = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string_view word = args[i];
    if (word == "--german" || word == "--json") {
      (word == "--json" ? a.json : a.german) = true;
      continue;
    }
    if (i + 1 >= args.size()) {
      problem = "missing value or unknown option: " + std::string(word);
      return std::nullopt;
    }
    const std::string_view value = args[++i];
    bool ok = false;
    if (word == "--lat") {
      ok = !lat && (lat = ParseTenths(value, 90));
    } else if (word == "--lon") {
      ok = !lon && (lon = ParseTenths(value, 180));
    } else if (word == "--date") {
      ok = !haveDate && ParseDate(value, a.clock);
      haveDate = true;
    } else if (word == "--time") {
      ok = !haveTime && ParseTime(value, a.clock);
      haveTime = true;
    } else if (word == "--zone") {
      ok = !a.zoneMinutes && (a.zoneMinutes = ParseZoneMinutes(value));
    }
    if (!ok) {
      problem = "bad or repeated " + std::string(word) + " " + std::string(value);
      return std::nullopt;
    }
  }
  if (!lat || !lon || !haveDate || !haveTime) {
    problem = "--lat, --lon, --date and --time are required";
    return std::nullopt;
  }
  a.latTenths = *lat;
  a.lonTenths = *lon;
  return a;
}

std::string Json(const GeoSky& sky, const GeoLines& lines) {
  const TCoor& s = sky.sun;
  JsonObject sun;
  sun.AddNumber("Az", s.Az).AddNumber("Alt", s.Alt).AddNumber("RA", s.RA).AddNumber("Dec", s.Dec);
  sun.AddBool("EastOfMeridian", s.EastOfMeridian).AddString("SignName", s.SignName);

  const TRiseSet& st = sky.sunTimes;
  JsonObject sunTimes;
  sunTimes.AddNumber("Rise", st.Rise).AddNumber("Set", st.Set);
  sunTimes.AddNumber("Transit", st.Transit).AddNumber("LowerTransit", st.LowerTransit);
  sunTimes.AddNumber("AstronomicalDawn", st.AstronomicalDawn)
      .AddNumber("AstronomicalDusk", st.AstronomicalDusk);
  sunTimes.AddNumber("NauticalDawn", st.NauticalDawn).AddNumber("NauticalDusk", st.NauticalDusk);
  sunTimes.AddNumber("CivilDawn", st.CivilDawn).AddNumber("CivilDusk", st.CivilDusk);

  const TCoor& m = sky.moon;
  JsonObject moon;
  moon.AddNumber("Az", m.Az).AddNumber("Alt", m.Alt).AddNumber("RA", m.RA).AddNumber("Dec", m.Dec);
  moon.AddNumber("Illumination", m.Illumination).AddNumber("Age", m.Age);
  moon.AddString("PhaseName", m.PhaseName).AddString("SignName", m.SignName);

  const TRiseSet& mt = sky.moonTimes;
  JsonObject moonTimes;
  moonTimes.AddNumber("Rise", mt.Rise).AddNumber("Set", mt.Set);
  moonTimes.AddNumber("Transit", mt.Transit).AddNumber("LowerTransit", mt.LowerTransit);

  JsonObject all;
  all.AddInt("zone", sky.zone);
  all.AddRaw("sun", sun.Text()).AddRaw("sun_times", sunTimes.Text());
  all.AddRaw("moon", moon.Text()).AddRaw("moon_times", moonTimes.Text());
  all.AddRaw("lines", "[" + JsonQuote(lines[0]) + ", " + JsonQuote(lines[1]) + "]");
  return all.Text();
}

int RunGeo(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  std::string problem;
  const auto a = Parse(args, problem);
  if (!a) {
    err << "velmarinex-cli geo: " << problem << "\n" << GeoUsage();
    return 2;
  }
  if (a->german)
    SetCurrentTable(std::make_shared<const LanguageTable>(LanguageTable::Parse(BuiltInTable(Language::German))));

  // The zone is the one the page would take at the board's clock time: the
  // computer's, or the one named, counted in whole hours.
  const int zone =
      a->zoneMinutes
          ? FixedTimeZone::FromOffsetMinutes(*a->zoneMinutes).OffsetMinutes(a->clock) / 60
          : WholeHourZone(a->clock);
  const auto sky = ComputeGeoSky(a->latTenths, a->lonTenths, a->clock, zone);
  if (!sky) {
    err << "velmarinex-cli geo: no such date\n";
    return 2;
  }
  const GeoLines lines = FormatGeoLines(*sky, ".");
  if (a->json)
    out << Json(*sky, lines) << "\n";
  else
    out << lines[0] << "\n" << lines[1] << "\n";
  return out.good() ? 0 : 1;
}

}  // namespace

const char* GeoUsage() {
  return kUsage;
}

int GeoCommand(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  return RunGeo(args, std::cout, std::cerr);
}

}  // namespace vmx::cli
