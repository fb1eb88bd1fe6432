// The Geo page redraws on every Info record while it is shown (twice a
// second), on every step of the time slider and on every click on the map:
// one refresh must stay within 3 ms at the map's 1000 x 500 pixels.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCoreApplication>

#include "astro/geo_page.h"
#include "astro/geo_picture.h"
#include "tests/ui/fake_page_context.h"

namespace {

// Two places far apart, so every refresh moves the marker and the lines.
constexpr int kPlaces[2][2] = {{525, 134}, {-338, 1512}};

void SetClock(vmx::Info& info) {
  info.Year = 24;
  info.Month = 6;
  info.Day = 21;
  info.Hour = 12;
  info.Minute = 0;
}

// The map copied afresh, the two crossing lines and the marker.
void BM_MapCompose(benchmark::State& state) {
  vmx::GeoPicture picture;
  int i = 0;
  for (auto _ : state) {
    picture.DrawMap(vmx::LocationToPixel(kPlaces[i][0], kPlaces[i][1]));
    benchmark::DoNotOptimize(picture.Map().constBits());
    i ^= 1;
  }
}
BENCHMARK(BM_MapCompose)->Unit(benchmark::kMicrosecond);

void BM_MoonPicture(benchmark::State& state) {
  vmx::GeoPicture picture;
  for (auto _ : state) {
    picture.DrawMoon(0.63, 4.0);
    benchmark::DoNotOptimize(picture.Moon().constBits());
  }
}
BENCHMARK(BM_MoonPicture)->Unit(benchmark::kMicrosecond);

// The whole routine: map, marker, sun and moon for the board's clock in the
// computer's zone, both text lines into the label, the moon picture.
void BM_RefreshGeo(benchmark::State& state) {
  vmx::testing::FakePageContext context;
  auto* page = context.Add<vmx::GeoPage>();
  page->resize(1001, 606);
  context.Show();
  SetClock(context.store.info);
  int i = 0;
  for (auto _ : state) {
    context.store.config.Lat = static_cast<int16_t>(kPlaces[i][0]);
    context.store.config.Lon = static_cast<int16_t>(kPlaces[i][1]);
    page->RefreshGeo();
    i ^= 1;
  }
}
BENCHMARK(BM_RefreshGeo)->Unit(benchmark::kMicrosecond);

// The refresh and what follows on screen: the page repaints the map's changed
// pixels, the moon and the new text. The stand-in window is made as roomy as
// the program's, where the map needs no scroll bars.
void BM_RefreshGeoShown(benchmark::State& state) {
  vmx::testing::FakePageContext context;
  auto* page = context.Add<vmx::GeoPage>();
  context.Show();
  context.window->resize(1040, 680);
  SetClock(context.store.info);
  QCoreApplication::processEvents();
  int i = 0;
  for (auto _ : state) {
    context.store.config.Lat = static_cast<int16_t>(kPlaces[i][0]);
    context.store.config.Lon = static_cast<int16_t>(kPlaces[i][1]);
    page->RefreshGeo();
    QCoreApplication::processEvents();
    i ^= 1;
  }
}
BENCHMARK(BM_RefreshGeoShown)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
