#include "astro/sunmoon.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>

namespace vmx {

namespace {

const char* const kSignNames[12] = {"Widder",  "Stier",     "Zwillinge",  "Krebs",
                                    "Löwe",    "Jungfrau",  "Waage",      "Skorpion",
                                    "Schütze", "Steinbock", "Wassermann", "Fische"};

// Index 8 repeats new moon so that a moon just before the next new moon is named so.
const char* const kPhaseNames[9] = {"Neumond",          "Zunehmende Sichel", "Erstes Viertel",
                                    "Zunehmender Mond", "Vollmond",          "Abnehmender Mond",
                                    "Letztes Viertel",  "Abnehmende Sichel", "Neumond"};

constexpr double kEpoch1990 = 2447891.5;
constexpr double kEpoch2000 = 2451545.0;

double Frac(double x) {
  return x - std::trunc(x);
}

// Greenwich mean sidereal time at 0 h UT of the day of jd, before normalising.
double SiderealAtMidnight(double jd) {
  const double jd0 = std::floor(jd - 0.5) + 0.5;
  const double t = (jd0 - kEpoch2000) / 36525;
  return 6.697374558 + t * (2400.051336 + t * 0.000025862);
}

}  // namespace

double FloorMod(double a, double b) {
  const double q = std::floor(a / b);
  // Out of the 32-bit range the floor has no integer to be; the value is then
  // meaningless and stays visibly so instead of wrapping.
  if (!(q >= INT32_MIN && q <= INT32_MAX)) return std::nan("");
  return a - static_cast<double>(static_cast<int32_t>(q)) * b;
}

double NormalizeAngle(double x) {
  return FloorMod(x, kTwoPi);
}

std::string FormatHourMinute(double h) {
  if (!(h >= 0) || std::isinf(h)) return "--:--";
  double m = Frac(h) * 60;
  double hours = std::trunc(h);
  if (m >= 59.5) {
    hours += 1;
    m -= 60;
  }
  // m lies in [-0.5, 59.5) here; as an integer the rounded -0.5 is a plain 0.
  const int minutes = static_cast<int>(std::nearbyint(m));
  char buf[48];
  std::snprintf(buf, sizeof buf, "%02.0f:%02d", hours, minutes);
  return buf;
}

std::string ZodiacSign(double lon) {
  const double index = std::floor(lon * RAD / 30);
  if (!std::isfinite(index)) return {};
  // A longitude a rounding step short of 2 pi can land on index 12.
  return kSignNames[static_cast<int>(FloorMod(index, 12))];
}

std::string MoonPhaseName(double age) {
  if (!(age >= 0 && age <= kTwoPi)) return {};
  constexpr double kOneDay = 0.2127729531723531;  // 2 pi / 29.53
  const double q = FloorMod(age, kHalfPi);
  int index;
  if (q < kOneDay || q > kHalfPi - kOneDay)
    index = 2 * static_cast<int>(std::nearbyint(age / kHalfPi));
  else
    index = 2 * static_cast<int>(std::floor(age / kHalfPi)) + 1;
  return kPhaseNames[std::clamp(index, 0, 8)];
}

double JulianDay(int day, int month, int year) {
  double jd = 2414956.5;
  if (month <= 2) {
    year -= 1;
    month += 12;
  }
  jd += std::trunc((year - 1900) * 365.25);
  jd += std::trunc((month + 1) * 30.6001);
  return jd + day;
}

double SiderealTime(double jd) {
  const double ut = Frac(jd - 0.5) * 24;
  return FloorMod(SiderealAtMidnight(jd) + ut * 1.002737909, 24);
}

double SiderealToUniversal(double jd, double gmst) {
  const double t0 = FloorMod(SiderealAtMidnight(jd), 24);
  return 0.9972695663 * (gmst - t0);
}

double LocalSiderealTime(double gmst, double lon) {
  return FloorMod(gmst + lon * RAD / 15, 24);
}

void EclipticToEquatorial(TCoor& coor, double tdt) {
  const double t = (tdt - kEpoch2000) / 36525;
  const double eps =
      (23.439291666666666 + t * (-46.815 + t * (-0.0006 + t * 0.00181)) / 3600) * DEG;
  coor.RA = NormalizeAngle(std::atan2(
      std::sin(coor.Lon) * std::cos(eps) - std::tan(coor.Lat) * std::sin(eps), std::cos(coor.Lon)));
  coor.Dec = std::asin(std::sin(coor.Lat) * std::cos(eps) +
                       std::cos(coor.Lat) * std::sin(eps) * std::sin(coor.Lon));
}

void EquatorialToHorizontal(TCoor& coor, double /*tdt*/, double geolat, double lmst) {
  const double h = lmst - coor.RA;
  const double n = -std::cos(coor.Dec) * std::sin(h);
  coor.EastOfMeridian = n >= 0;
  const double d =
      std::sin(coor.Dec) * std::cos(geolat) - std::cos(coor.Dec) * std::cos(h) * std::sin(geolat);
  coor.Az = NormalizeAngle(std::atan2(n, d));
  coor.Alt = std::asin(std::sin(coor.Dec) * std::sin(geolat) +
                       std::cos(coor.Dec) * std::cos(h) * std::cos(geolat));
}

void GeocentricToTopocentric(TCoor& coor, TCoor observer, double lmst) {
  const double rho = observer.GeocentricRadius;
  const double phi = observer.Lat;
  const double x =
      coor.Distance * std::cos(coor.Dec) * std::cos(coor.RA) - rho * std::cos(phi) * std::cos(lmst);
  const double y =
      coor.Distance * std::cos(coor.Dec) * std::sin(coor.RA) - rho * std::cos(phi) * std::sin(lmst);
  const double z = coor.Distance * std::sin(coor.Dec) - rho * std::sin(phi);
  coor.TopoDistance = std::sqrt(x * x + y * y + z * z);
  coor.TopoDec = std::asin(z / coor.TopoDistance);
  coor.TopoRA = NormalizeAngle(std::atan2(y, x));
}

void PolarToCartesian(TCoor& coor, double lon, double lat, double distance) {
  const double r = std::cos(lat) * distance;
  coor.X = r * std::cos(lon);
  coor.Y = r * std::sin(lon);
  coor.Z = distance * std::sin(lat);
}

TCoor ObserverPosition(double lon, double lat, double height, double gmst) {
  constexpr double kEquatorRadius = 6378.137;
  constexpr double kAxisRatio = 0.9966471893352525;
  const double c = std::cos(lat);
  const double s2 = std::sin(lat) * std::sin(lat);
  const double u = 1 / std::sqrt(c * c + kAxisRatio * kAxisRatio * s2);
  const double a = kEquatorRadius * u + height;
  const double b = kEquatorRadius * kAxisRatio * kAxisRatio * u + height;
  const double radius = std::sqrt(a * a * c * c + b * b * s2);
  // On the equator a*c/radius is 1 up to rounding, which may step just past 1.
  double psi = std::acos(std::min(1.0, a * c / radius));
  if (lat < 0) psi = -psi;

  TCoor coor;
  PolarToCartesian(coor, lon, psi, radius);
  const double theta = gmst / 24 * kTwoPi;
  const double x = coor.X;
  const double y = coor.Y;
  coor.X = x * std::cos(theta) - y * std::sin(theta);
  coor.Y = x * std::sin(theta) + y * std::cos(theta);
  coor.GeocentricRadius = radius;
  coor.Lon = lon;
  coor.Lat = lat;
  return coor;
}

TCoor SunCoordinates(double tdt, double geolat, double lmst) {
  constexpr double kLongitudeAtEpoch = 4.876507578297351;
  constexpr double kPerigee = 4.935239984568769;
  constexpr double kEccentricity = 0.016713;
  constexpr double kSemiMajorAxis = 149598500;
  constexpr double kDiameterAtOneAu = 0.009304838934572329;
  constexpr double kDailyMotion = 0.017202791632524146;

  TCoor sun;
  const double d = tdt - kEpoch1990;
  const double m = kDailyMotion * d + kLongitudeAtEpoch - kPerigee;
  sun.MeanAnomaly = m;
  const double nu = m + 2 * kEccentricity * std::sin(m);
  sun.Lon = NormalizeAngle(nu + kPerigee);
  sun.Lat = 0;
  const double au = (1 - kEccentricity * kEccentricity) / (1 + kEccentricity * std::cos(nu));
  sun.AngularDiameter = kDiameterAtOneAu / au;
  sun.Distance = au * kSemiMajorAxis;
  sun.Parallax = 6378.137 / sun.Distance;
  EclipticToEquatorial(sun, tdt);
  EquatorialToHorizontal(sun, tdt, geolat, lmst);
  sun.SignName = ZodiacSign(sun.Lon);
  return sun;
}

TCoor MoonCoordinates(TCoor sun, TCoor observer, double tdt, double lmst) {
  constexpr double kMeanLongitude = 5.556284436750021;
  constexpr double kPerigee = 0.6342598060246726;
  constexpr double kNode = 5.559050068029439;
  constexpr double kInclination = 0.08980410151894616;
  constexpr double kEccentricity = 0.0549;
  constexpr double kSemiMajorAxis = 384401;
  constexpr double kDiameter = 0.009042550854582622;
  constexpr double kParallax = 0.016592845198710092;

  TCoor moon;
  const double d = tdt - kEpoch1990;
  const double l = 0.22997150421858628 * d + kMeanLongitude;
  const double mm = l - 0.0019443683452210149 * d - kPerigee;
  const double n = kNode - 0.0009242199067718253 * d;
  const double c = l - sun.Lon;
  const double evection = 0.022233749341155764 * std::sin(2 * c - mm);
  const double annual = 0.0032428217502054645 * std::sin(sun.MeanAnomaly);
  const double a3 = 0.006457718232379019 * std::sin(sun.MeanAnomaly);
  const double mm1 = mm + evection - annual - a3;
  const double centre = 0.10975677534091541 * std::sin(mm1);
  const double a4 = 0.0037350045992678655 * std::sin(2 * mm1);
  const double l1 = l + evection + centre - annual + a4;
  const double variation = 0.011489502465878671 * std::sin(2 * (l1 - sun.Lon));
  const double l2 = l1 + variation;
  const double n1 = n - 0.0027925268031909274 * std::sin(sun.MeanAnomaly);

  moon.Lon = NormalizeAngle(
      std::atan2(std::sin(l2 - n1) * std::cos(kInclination), std::cos(l2 - n1)) + n1);
  moon.Lat = std::asin(std::sin(l2 - n1) * std::sin(kInclination));
  EclipticToEquatorial(moon, tdt);

  const double dist =
      (1 - kEccentricity * kEccentricity) / (1 + kEccentricity * std::cos(mm1 + centre));
  moon.AngularDiameter = kDiameter / dist;
  moon.Parallax = kParallax / dist;
  moon.Distance = dist * kSemiMajorAxis;

  // lmst exactly 0 is how the rise/set search asks for the geocentric moon.
  if (lmst != 0) {
    GeocentricToTopocentric(moon, observer, lmst);
    moon.GeoRA = moon.RA;
    moon.GeoDec = moon.Dec;
    moon.RA = moon.TopoRA;
    moon.Dec = moon.TopoDec;
    EquatorialToHorizontal(moon, tdt, observer.Lat, lmst);
  }

  moon.Age = NormalizeAngle(l2 - sun.Lon);
  moon.Illumination = 0.5 * (1 - std::cos(moon.Age));
  moon.PhaseName = MoonPhaseName(moon.Age);
  moon.SignName = ZodiacSign(moon.Lon);
  return moon;
}

}  // namespace vmx
