// The Geo page recomputes its whole sky on every clock update from the board
// (twice a second while the page is shown) and on every drag of the time
// slider, so one full computation must stay far below a frame.
#include <benchmark/benchmark.h>

#include "astro/geo_sky.h"
#include "astro/geo_text.h"

namespace {

void BM_GeoSky(benchmark::State& state) {
  const vmx::LocalDateTime t{2024, 6, 21, 12, 0, 0, 0};
  for (auto _ : state) benchmark::DoNotOptimize(vmx::ComputeGeoSky(525, 134, t, 2));
}
BENCHMARK(BM_GeoSky);

// Far from the zone both day rules need the neighbouring days as well.
void BM_GeoSkyFarFromZone(benchmark::State& state) {
  const vmx::LocalDateTime t{2024, 6, 21, 12, 0, 0, 0};
  for (auto _ : state) benchmark::DoNotOptimize(vmx::ComputeGeoSky(-180, 1780, t, 1));
}
BENCHMARK(BM_GeoSkyFarFromZone);

void BM_GeoText(benchmark::State& state) {
  const vmx::LocalDateTime t{2024, 6, 21, 12, 0, 0, 0};
  for (auto _ : state) benchmark::DoNotOptimize(vmx::GeoText(525, 134, t, 2, "."));
}
BENCHMARK(BM_GeoText);

}  // namespace
