// Rising, setting and culmination: crossings of an altitude found from the
// positions at the start and end of an interval, then kept on the local day.
#include <cmath>

#include "astro/sunmoon.h"

namespace vmx {

namespace {

constexpr double kRefraction = 0.009890199094634533;   // 34'
constexpr double kCivil = -0.10471975511965978;        // -6 degrees
constexpr double kNautical = -0.20943951023931956;     // -12 degrees
constexpr double kAstronomical = -0.3141592653589793;  // -18 degrees

double DeltaTDays(double deltaT) {
  return deltaT / 24 / 3600;
}

double JulianDayAtMidnight(double jd) {
  return std::floor(jd - 0.5) + 0.5;
}

// The four events in the order the search walks them.
double* Event(TRiseSet& r, int i) {
  switch (i) {
    case 0:
      return &r.Transit;
    case 1:
      return &r.LowerTransit;
    case 2:
      return &r.Rise;
    default:
      return &r.Set;
  }
}

// Keeps the events of a day's result that fall on the local calendar day W =
// [-zone, 24 - zone) in UT hours from jd0 and takes the others from the
// neighbouring UT day, shifted onto this one. For the moon a neighbour's event
// that still misses the day means there is none (-1); the sun always has one.
template <class Recurse>
TRiseSet KeepOnLocalDay(TRiseSet r, double zone, bool missingAllowed, Recurse recurse) {
  const double first = -zone;
  const double end = 24 - zone;
  bool havePrev = false;
  bool haveNext = false;
  TRiseSet prev;
  TRiseSet next;
  // -1 can be a real UT hour on the local day (an hour before jd0), so a missing
  // event is marked aside and written as -1 only at the end.
  bool missing[4] = {};
  for (int i = 0; i < 4; ++i) {
    double& x = *Event(r, i);
    if (x >= end) {
      if (!havePrev) {
        prev = recurse(-1);
        havePrev = true;
      }
      x = *Event(prev, i) - 24;
    } else if (x < first) {
      if (!haveNext) {
        next = recurse(+1);
        haveNext = true;
      }
      x = *Event(next, i) + 24;
    } else {
      continue;
    }
    missing[i] = missingAllowed && !(x >= first && x < end);
  }
  for (int i = 0; i < 4; ++i) {
    double& x = *Event(r, i);
    x = missing[i] ? -1 : FloorMod(x + zone, 24);
  }
  return r;
}

}  // namespace

TRiseSet HorizonCrossings(TCoor coor, double lon, double lat, double h) {
  double c =
      (std::sin(h) - std::sin(lat) * std::sin(coor.Dec)) / (std::cos(lat) * std::cos(coor.Dec));
  // Beyond +-1 the body never reaches (or never leaves) the altitude: rise and set
  // then fall on the transit (or the lower transit) instead of failing.
  if (c < -1)
    c = -1;
  else if (c > 1)
    c = 1;
  const double s = std::acos(c);
  TRiseSet r;
  r.Transit = FloorMod((coor.RA - lon) * kHoursPerRadian, 24);
  r.LowerTransit = FloorMod((coor.RA - lon) * kHoursPerRadian + 12, 24);
  r.Rise = FloorMod((-s + coor.RA - lon) * kHoursPerRadian + 24, 24);
  r.Set = FloorMod((s + coor.RA - lon) * kHoursPerRadian, 24);
  return r;
}

double InterpolateCrossing(double g0, double g1, double g2, double factor) {
  return (24.07 * factor * g1 - g0 * (g2 - g1)) / (24.07 * factor + g1 - g2);
}

TRiseSet RiseSetTimes(double jd0, TCoor coor1, TCoor coor2, double lon, double lat, double interval,
                      double h) {
  double a = 0;
  if (h != 0) a = 0.5 * coor1.AngularDiameter - coor1.Parallax + kRefraction;

  TRiseSet r1 = HorizonCrossings(coor1, lon, lat, h);
  TRiseSet r2 = HorizonCrossings(coor2, lon, lat, h);
  for (int i = 0; i < 4; ++i) {
    const double x1 = *Event(r1, i);
    double& x2 = *Event(r2, i);
    if (x1 > x2 && std::abs(x1 - x2) > 18) x2 += 24;
  }

  // The search window is the observer's own sidereal day, starting at the
  // sidereal time of local mean midnight. Moving every event into it, not just
  // the ones before it, keeps an event of the next day from being taken for
  // today's at longitudes where that midnight is not within the UT day.
  const double t0 = SiderealTime(jd0);
  const double t02 = t0 - lon * RAD / 15 * 1.002738;
  for (int i = 0; i < 4; ++i) {
    double& x1 = *Event(r1, i);
    double& x2 = *Event(r2, i);
    const double turns = std::ceil((t02 - x1) / 24);
    if (std::isfinite(turns) && turns != 0) {
      x1 += 24 * turns;
      x2 += 24 * turns;
    }
  }

  // Refraction, parallax and disc size move rise and set by the time the body
  // needs to climb the correction angle; where that climb is undefined (near the
  // poles, or with no correction at all) nothing is moved.
  const double meanDec = 0.5 * (coor1.Dec + coor2.Dec);
  const double psi = std::acos(std::sin(lat) / std::cos(meanDec));
  const double y = std::asin(std::sin(a) / std::sin(psi));
  double dt = 13750.987083139757 * y / std::cos(meanDec) / 3600;
  if (!std::isfinite(dt)) dt = 0;

  TRiseSet r;
  r.Transit = SiderealToUniversal(jd0, InterpolateCrossing(t0, r1.Transit, r2.Transit, interval));
  r.LowerTransit =
      SiderealToUniversal(jd0, InterpolateCrossing(t0, r1.LowerTransit, r2.LowerTransit, interval));
  r.Rise = SiderealToUniversal(jd0, InterpolateCrossing(t0, r1.Rise, r2.Rise, interval) - dt);
  r.Set = SiderealToUniversal(jd0, InterpolateCrossing(t0, r1.Set, r2.Set, interval) + dt);
  return r;
}

TRiseSet SunRiseSet(double jd, double deltaT, double lon, double lat, double zone, bool recursive) {
  const double jd0 = JulianDayAtMidnight(jd);
  const TCoor coor1 = SunCoordinates(jd0 + DeltaTDays(deltaT), 0, 0);
  const TCoor coor2 = SunCoordinates(jd0 + 1 + DeltaTDays(deltaT), 0, 0);
  TRiseSet r = RiseSetTimes(jd0, coor1, coor2, lon, lat, 1, 0);
  if (recursive) return r;

  r = KeepOnLocalDay(r, zone, false,
                     [&](int days) { return SunRiseSet(jd + days, deltaT, lon, lat, zone, true); });

  const auto twilight = [&](double h, double& dawn, double& dusk) {
    const TRiseSet t = RiseSetTimes(jd0, coor1, coor2, lon, lat, 1, h);
    dawn = FloorMod(t.Rise + zone, 24);
    dusk = FloorMod(t.Set + zone, 24);
  };
  twilight(kCivil, r.CivilDawn, r.CivilDusk);
  twilight(kNautical, r.NauticalDawn, r.NauticalDusk);
  twilight(kAstronomical, r.AstronomicalDawn, r.AstronomicalDusk);
  return r;
}

TRiseSet MoonRiseSet(double jd, double deltaT, double lon, double lat, double zone,
                     bool recursive) {
  const double jd0 = JulianDayAtMidnight(jd);
  const double t1 = jd0 + DeltaTDays(deltaT);
  const double t2 = jd0 + 0.5 + DeltaTDays(deltaT);
  // lmst 0: the geocentric moon, without the observer's parallax.
  const TCoor coor1 = MoonCoordinates(SunCoordinates(t1, 0, 0), TCoor{}, t1, 0);
  const TCoor coor2 = MoonCoordinates(SunCoordinates(t2, 0, 0), TCoor{}, t2, 0);
  const TRiseSet r = RiseSetTimes(jd0, coor1, coor2, lon, lat, 0.5, 0);
  if (recursive) return r;

  return KeepOnLocalDay(r, zone, true, [&](int days) {
    return MoonRiseSet(jd + days, deltaT, lon, lat, zone, true);
  });
}

}  // namespace vmx
