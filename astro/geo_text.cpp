#include "astro/geo_text.h"

#include <cmath>

#include "astro/decimal_text.h"
#include "lang/catalogue.h"

namespace vmx {

namespace {

// Rise and set closer than this are the same crossing: the sun or moon does
// not cross the horizon that day.
constexpr double kSameCrossing = 0.008333333333333333;  // 30 s in hours

std::string Label(std::string_view key) {
  return LangText(key) + ": ";
}

std::string PositionText(std::string_view body, const TCoor& c, std::string_view sep) {
  return Label(body) + Label("Azimuth") + FormatUpToOneDecimal(c.Az * RAD, sep) + "°, " +
         Label("Altitude") + FormatUpToOneDecimal(c.Alt * RAD, sep) + "°";
}

bool CrossesHorizon(const TRiseSet& r) {
  return std::abs(r.Rise - r.Set) > kSameCrossing;
}

std::string RiseSetText(const TRiseSet& r) {
  return ", " + Label("Rise") + FormatHourMinute(r.Rise) + ", " + Label("Set") +
         FormatHourMinute(r.Set);
}

}  // namespace

GeoLines FormatGeoLines(const GeoSky& sky, std::string_view decimalSeparator) {
  GeoLines lines;
  std::string& sun = lines[0];
  sun = PositionText("Sun", sky.sun, decimalSeparator);
  if (CrossesHorizon(sky.sunTimes)) {
    double length = sky.sunTimes.Set - sky.sunTimes.Rise;
    if (length < 0) length += 24;
    sun += RiseSetText(sky.sunTimes) + ", " + Label("DayLength") + FormatHourMinute(length) + " " +
           LangText("Hours");
  }

  std::string& moon = lines[1];
  moon = PositionText("Moon", sky.moon, decimalSeparator);
  if (CrossesHorizon(sky.moonTimes)) moon += RiseSetText(sky.moonTimes);
  moon += ", " + Label("Phase") +
          FormatUpToOneDecimal(sky.moon.Illumination * 100, decimalSeparator) + "%";
  return lines;
}

std::optional<GeoLines> GeoText(int latTenths, int lonTenths, const LocalDateTime& t, int zone,
                                std::string_view decimalSeparator) {
  const auto sky = ComputeGeoSky(latTenths, lonTenths, t, zone);
  if (!sky) return std::nullopt;
  return FormatGeoLines(*sky, decimalSeparator);
}

std::string MousePositionText(const MapLocation& location, std::string_view decimalSeparator) {
  return Label("MousePosition") + Label("Latitude") +
         FormatUpToOneDecimal(location.lat, decimalSeparator) + "°, " + Label("Longitude") +
         FormatUpToOneDecimal(location.lon, decimalSeparator) + "°";
}

}  // namespace vmx
