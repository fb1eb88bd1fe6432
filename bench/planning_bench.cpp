// A whole year at a place with a full schedule (48 rows, all twelve channels):
// what the year view, the command line and the service compute on request.
// Goal: 50 ms for the year.
#include <benchmark/benchmark.h>

#include <cmath>

#include "astro/fixed_time_zone.h"
#include "planning/year_explorer.h"

namespace vmx {
namespace {

// 48 rows keyed both ways: every 30 minutes, and up and down the sun's path.
std::vector<ScheduleRow> Rows() {
  std::vector<ScheduleRow> rows(48);
  for (int k = 0; k < 48; ++k) {
    rows[k].Hour = static_cast<int8_t>(k / 2);
    rows[k].Minute = static_cast<int8_t>(k % 2 * 30);
    const double altitude = k < 24 ? -10 + k * 2.5 : 47.5 - (k - 24) * 2.5;
    rows[k].Alt = static_cast<int16_t>(std::lround(std::sin(altitude * 0.0174533) * 10000));
    const double f = std::sin(3.14159 * k / 47);
    for (int c = 0; c < kChannels; ++c)
      rows[k].Color16[c] = static_cast<int16_t>(4096 * f * (0.4 + 0.05 * c));
  }
  return rows;
}

void Year(benchmark::State& state, bool geo) {
  TimeZoneInfo berlin;
  berlin.bias = -60;
  berlin.standardDate = {10, 0, 5, 3, 0, 0, 0};
  berlin.daylightDate = {3, 0, 5, 2, 0, 0, 0};
  berlin.daylightBias = -60;
  YearRequest request;
  request.latTenths = 525;
  request.lonTenths = 134;
  request.year = 2024;
  request.zone = std::make_shared<const FixedTimeZone>(berlin);
  request.schedule = YearSchedule{geo, Rows()};
  for (auto _ : state) benchmark::DoNotOptimize(ExploreYear(request));
}

void BM_YearGeoSchedule(benchmark::State& state) {
  Year(state, true);
}
BENCHMARK(BM_YearGeoSchedule)->Unit(benchmark::kMillisecond);

void BM_YearClockSchedule(benchmark::State& state) {
  Year(state, false);
}
BENCHMARK(BM_YearClockSchedule)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vmx
