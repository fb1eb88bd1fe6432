// The health display's figures: power cycles, working time, and how the
// working time divides into board-temperature and input-voltage bands, as a
// table and two bars on a logarithmic scale of ten years.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "link/records.h"

namespace vmx {

// Working time in 15-second intervals: the sum of the four voltage counters.
uint64_t HealthWorkingTotal(const Health& health);
// "1.0h" for 240 intervals.
std::string HealthHours(uint64_t intervals, std::string_view separator);
// "25.0%" of `total`.
std::string HealthShare(uint64_t intervals, uint64_t total, std::string_view separator);

struct HealthText {
  int x = 0;
  int y = 0;  // top left of the text
  std::string text;
  bool operator==(const HealthText&) const = default;
};

struct HealthSegment {
  int left = 0, top = 0, right = 0, bottom = 0;  // right and bottom exclusive
  uint32_t color = 0;
  bool operator==(const HealthSegment&) const = default;
};

struct HealthScene {
  std::vector<HealthText> texts;
  std::vector<HealthSegment> bars;
};

// Nothing at all before the first read (no power cycles); only the first line
// while no working time has been counted. Bars longer than ten years are cut at
// the right edge.
HealthScene LayoutHealth(const Health& health, int width, std::string_view separator);

}  // namespace vmx
