// The schedule as the grid shows it: one line of cell texts per schedule row,
// and the edits that read lines back into the rows and mark them for sending.
// The Schedule page and the command line both work through these routines.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "link/records.h"

namespace vmx {

class SharedStore;

namespace grid {
constexpr int kColumns = 18;
constexpr int kLine = 0;  // the row index; dragged to move the line
constexpr int kTime = 1;  // "HH:MM", or the sun altitude in Geo mode
constexpr int kFirstChannel = 2;
constexpr int kDisplay = 14;  // Switch bits 0x20, 0x40, 0x80 as ON/OFF
constexpr int kClouds = 15;
constexpr int kStorms = 16;
constexpr int kTimer = 17;  // the JMP pin value

constexpr bool IsSwitchColumn(int column) {
  return column >= kDisplay && column <= kStorms;
}
constexpr bool IsChannelColumn(int column) {
  return column >= kFirstChannel && column < kFirstChannel + kChannels;
}
}  // namespace grid

// The current language's ON/OFF and the locale's decimal separator.
struct GridWords {
  std::string on = "ON";
  std::string off = "OFF";
  std::string separator = ".";
};

// Column 1 shows the altitude only in Geo mode.
constexpr bool ShowsAltitude(uint8_t modeField) {
  return ModeOf(modeField) == BoardMode::Geo;
}

struct GridLine {
  std::array<std::string, grid::kColumns> cells;
  // Filled in Geo mode: the row's exact Alt and the text it was shown as.
  // While the cell still reads that text a commit keeps the exact value, so
  // an edit elsewhere in the line does not move the altitude by rounding.
  std::optional<int16_t> exactAlt;
  std::string altitudeText;
};

std::string TimeCellText(int8_t hour, int8_t minute);  // "07:30", "24:00"
// Degrees, "0.##"; "0" for a stored value beyond +-10000 (no such angle).
std::string AltitudeCellText(int16_t alt, std::string_view separator);
std::string PercentCellText(int16_t value, std::string_view separator);

GridLine FormatGridLine(const ScheduleRow& row, int index, bool altitude, const GridWords& words);

// Reads the cells of a line into `row`. A cell that does not parse, or holds a
// number beyond what the field can take, leaves its field alone; integers are
// cut to the field's width. Column 1 is read in one meaning only: time in
// `Hour`/`Minute`, or altitude in `Alt`.
void ReadGridLine(const GridLine& line, bool altitude, const GridWords& words, ScheduleRow& row);

// Line `row` + 1 of the grid into schedule row `row`, marked for sending with
// WriteSchedule raised. Nothing happens for a row outside the table.
bool CommitScheduleRow(SharedStore& store, int row, const GridLine& line, bool altitude,
                       const GridWords& words);

// The text a switch cell takes when clicked.
std::string ToggledSwitch(std::string_view text, const GridWords& words);

// Moves line `from` to `to` (indices into `lines`, 0 = the first schedule
// row), numbering the lines in between anew. Returns the first and last index
// whose line changed, each to be committed; nothing for a move that moves nothing.
std::optional<std::pair<int, int>> MoveGridLine(std::vector<GridLine>& lines, int from, int to);

// Shows a line's channel values on the board now: the cells into the Info
// channels (a cell that does not parse leaves its channel), WriteInfoChannels.
void PreviewGridLine(SharedStore& store, const GridLine& line, const GridWords& words);

// Column copy: channel `to` takes the colour name and every schedule value of
// channel `from`; the swap exchanges them. Both mark every row and raise
// WriteConfig and WriteSchedule; false (nothing done) unless both are 0..11.
bool PasteChannelColumn(SharedStore& store, int from, int to);
bool SwapChannelColumns(SharedStore& store, int a, int b);

}  // namespace vmx
