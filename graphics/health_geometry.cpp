#include "graphics/health_geometry.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "lang/number_text.h"

namespace vmx {
namespace {

// Ten years of 15-second intervals fill the width.
constexpr double kTenYears = 21037968;
constexpr int kSecondsPerInterval = 15;

struct Band {
  int counter;
  const char* label;
  uint32_t color;
};

// Table rows top to bottom; the bars run through the same bands in reverse.
constexpr Band kTemperatureBands[] = {{0, "T>60:", 0xFFFF0000},
                                      {1, "T>55:", 0xFFFF8000},
                                      {2, "T>50:", 0xFFFFFF00},
                                      {3, "T>45:", 0xFF00FF00},
                                      {4, "T<45:", 0xFF00FFFF}};
constexpr Band kVoltageBands[] = {{5, "V>30.5:", 0xFFFF0000},
                                  {6, "V>29.0:", 0xFFFF8000},
                                  {7, "V>26.0:", 0xFFFFFF00},
                                  {8, "V<26.0:", 0xFF00FF00}};

uint64_t CounterOf(const Health& health, int index) {
  return health.Counter[static_cast<size_t>(index)];
}

template <size_t N>
void AddBar(HealthScene& scene, const Health& health, const Band (&bands)[N], int top,
            uint64_t total, double length, int width) {
  double a = 0;
  for (size_t i = N; i-- > 0;) {
    const double b = a + static_cast<double>(CounterOf(health, bands[i].counter)) / total * length;
    const int left = std::min(static_cast<int>(std::nearbyint(a)), width);
    const int right = std::min(static_cast<int>(std::nearbyint(b)), width);
    if (right > left) scene.bars.push_back({left, top, right, top + 12, bands[i].color});
    a = b;
  }
}

}  // namespace

uint64_t HealthWorkingTotal(const Health& health) {
  uint64_t total = 0;
  for (const Band& b : kVoltageBands) total += CounterOf(health, b.counter);
  return total;
}

std::string HealthHours(uint64_t intervals, std::string_view separator) {
  return FormatDecimal(static_cast<double>(intervals) * kSecondsPerInterval / 3600, 1, 1,
                       separator) +
         "h";
}

std::string HealthShare(uint64_t intervals, uint64_t total, std::string_view separator) {
  const double share =
      total ? static_cast<double>(intervals) / static_cast<double>(total) * 100 : 0;
  return FormatDecimal(share, 1, 1, separator) + "%";
}

HealthScene LayoutHealth(const Health& health, int width, std::string_view separator) {
  HealthScene scene;
  if (health.PowerCycles == 0) return scene;
  const uint64_t total = HealthWorkingTotal(health);
  auto text = [&](int x, int y, std::string s) { scene.texts.push_back({x, y, std::move(s)}); };
  text(0, 0, "Power cycles:");
  text(70, 0, std::to_string(health.PowerCycles));
  text(350, 0, "Working:");
  text(420, 0, std::to_string(total));
  text(490, 0, HealthHours(total, separator));
  if (total == 0) return scene;

  auto row = [&](int x, int y, const Band& band) {
    const uint64_t c = CounterOf(health, band.counter);
    text(x, y, band.label);
    text(x + 70, y, std::to_string(c));
    text(x + 140, y, HealthHours(c, separator));
    text(x + 210, y, HealthShare(c, total, separator));
  };
  int y = 24;
  for (const Band& band : kTemperatureBands) row(0, std::exchange(y, y + 12), band);
  y = 36;
  for (const Band& band : kVoltageBands) row(350, std::exchange(y, y + 12), band);

  const double length = width * std::log(static_cast<double>(total)) / std::log(kTenYears);
  AddBar(scene, health, kVoltageBands, 96, total, length, width);
  AddBar(scene, health, kTemperatureBands, 108, total, length, width);
  return scene;
}

}  // namespace vmx
