#include "graphics/colour_spread.h"

#include <algorithm>
#include <unordered_map>

namespace vmx {

double OffColourShare(std::span<const uint32_t> pixels) {
  if (pixels.empty()) return 0;
  std::unordered_map<uint32_t, size_t> counts;
  size_t most = 0;
  for (const uint32_t p : pixels) most = std::max(most, ++counts[p]);
  return static_cast<double>(pixels.size() - most) / static_cast<double>(pixels.size());
}

}  // namespace vmx
