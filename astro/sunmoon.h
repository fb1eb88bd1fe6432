// Sun and moon ephemeris: positions, moon phase, zodiac sign and the times of
// rising, setting and culmination for an observer on the Earth. Pure functions
// of their arguments; the low-precision theory is referred to 1990 January 0.0.
// Angles are radians, times of day and sidereal times hours, moments Julian days.
#pragma once

#include <string>

#include "astro/time_zone.h"

namespace vmx {

constexpr double kPi = 3.141592653589793;
constexpr double DEG = 0.017453292519943295;  // pi/180
constexpr double RAD = 57.29577951308232;     // 180/pi
constexpr double kTwoPi = 6.283185307179586;
constexpr double kHalfPi = 1.5707963267948966;
constexpr double kHoursPerRadian = 3.819718634205488;  // 12/pi, hour angle to hours

// The coordinates of one body, or of the observer. Copied by value everywhere.
struct TCoor {
  double Lat = 0;  // ecliptic latitude; for the observer the geodetic latitude
  double Lon = 0;  // ecliptic longitude; for the observer the longitude, east positive
  double RA = 0;   // for the moon after the topocentric step the topocentric value
  double Dec = 0;
  double Az = 0;            // 0 = north, increasing through east
  double Alt = 0;           // above the true horizon, without refraction
  double TopoDistance = 0;  // km
  double TopoDec = 0;
  double TopoRA = 0;
  double Distance = 0;  // from the Earth's centre, km
  double X = 0;         // cartesian equatorial, km
  double Y = 0;
  double Z = 0;
  double MeanAnomaly = 0;  // sun only
  double Parallax = 0;
  double Age = 0;  // moon: 0 = new, pi = full
  double Illumination = 0;
  double GeocentricRadius = 0;  // observer only, km
  double AngularDiameter = 0;
  double GeoRA = 0;  // the moon's geocentric values, kept when RA/Dec turn topocentric
  double GeoDec = 0;
  std::string SignName;
  std::string PhaseName;
  bool EastOfMeridian = false;  // before its culmination
};

// Hours of local time. For the moon only the first four are filled, and -1 means
// the event does not happen on that local calendar day.
struct TRiseSet {
  double Rise = 0;
  double Set = 0;
  double Transit = 0;
  double LowerTransit = 0;
  double AstronomicalDawn = 0;
  double AstronomicalDusk = 0;
  double NauticalDawn = 0;
  double NauticalDusk = 0;
  double CivilDawn = 0;
  double CivilDusk = 0;
};

// a - floor(a/b)*b with the floor taken to a 32-bit integer; NaN where that floor
// does not exist (not finite, or beyond the 32-bit range).
double FloorMod(double a, double b);
double NormalizeAngle(double x);
// "HH:MM", minutes rounded ties to even, hours not reduced (23.9999 is "24:00");
// "--:--" for negative (missing) or undefined times.
std::string FormatHourMinute(double h);
// Fixed German sign names; empty for an undefined longitude.
std::string ZodiacSign(double lon);
// Fixed German phase names for a moon age; empty for an undefined age.
std::string MoonPhaseName(double age);

// 0 h UT of a Gregorian date from 1 March 1900 to 28 February 2100.
double JulianDay(int day, int month, int year);
double SiderealTime(double jd);
double SiderealToUniversal(double jd, double gmst);
double LocalSiderealTime(double gmst, double lon);

void EclipticToEquatorial(TCoor& coor, double tdt);
void EquatorialToHorizontal(TCoor& coor, double tdt, double geolat, double lmst);
void GeocentricToTopocentric(TCoor& coor, TCoor observer, double lmst);
void PolarToCartesian(TCoor& coor, double lon, double lat, double distance);
TCoor ObserverPosition(double lon, double lat, double height, double gmst);
TCoor SunCoordinates(double tdt, double geolat, double lmst);
TCoor MoonCoordinates(TCoor sun, TCoor observer, double tdt, double lmst);

TRiseSet HorizonCrossings(TCoor coor, double lon, double lat, double h);
double InterpolateCrossing(double g0, double g1, double g2, double factor);
TRiseSet RiseSetTimes(double jd0, TCoor coor1, TCoor coor2, double lon, double lat, double interval,
                      double h);
TRiseSet SunRiseSet(double jd, double deltaT, double lon, double lat, double zone, bool recursive);
TRiseSet MoonRiseSet(double jd, double deltaT, double lon, double lat, double zone, bool recursive);

}  // namespace vmx
