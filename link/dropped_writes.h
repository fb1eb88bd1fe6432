// The edits a new identification or connection dropped before they reached
// the board, and how the log names them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vmx {

struct DroppedWrites {
  uint32_t bits = 0;      // the write request bits that were pending
  std::vector<int> rows;  // schedule rows still marked, ascending
  bool Empty() const { return bits == 0 && rows.empty(); }
};

// The records, then the schedule lines as the grid numbers them, runs joined:
// "Config, Weather, schedule lines 3, 5-7" (in the current language).
std::string DroppedWritesText(const DroppedWrites& dropped);

}  // namespace vmx
