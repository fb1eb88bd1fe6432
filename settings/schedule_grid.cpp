#include "settings/schedule_grid.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "lang/number_text.h"
#include "link/shared_store.h"

namespace vmx {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kPercentScale = 40.96;  // 4096 = 100 %
constexpr double kAltitudeScale = 10000;

// The low bits of `value`, as the board reads a field of that width.
template <class T>
T CutTo(int64_t value) {
  using U = std::make_unsigned_t<T>;
  return static_cast<T>(static_cast<U>(static_cast<uint64_t>(value)));
}

std::optional<int64_t> ScaledDecimal(std::string_view text, double scale,
                                     std::string_view separator) {
  const std::optional<double> v = ParseDecimal(text, separator);
  if (!v) return std::nullopt;
  return RoundToInteger(*v * scale);
}

void ReadTime(const std::string& text, ScheduleRow& row) {
  // Hour and minute are read apart: a part that does not parse leaves only
  // its own field, and a cell without ":" is all minute.
  const size_t colon = text.find(':');
  const std::string_view hour =
      colon == std::string::npos ? "" : std::string_view(text).substr(0, colon);
  const std::string_view minute = colon == std::string::npos
                                      ? std::string_view(text)
                                      : std::string_view(text).substr(colon + 1);
  if (const auto h = ParseInteger(hour)) row.Hour = CutTo<int8_t>(*h);
  if (const auto m = ParseInteger(minute)) row.Minute = CutTo<int8_t>(*m);
}

void ReadAltitude(const GridLine& line, std::string_view separator, ScheduleRow& row) {
  const std::string& text = line.cells[grid::kTime];
  if (line.exactAlt && text == line.altitudeText) {
    row.Alt = *line.exactAlt;
    return;
  }
  const std::optional<double> degrees = ParseDecimal(text, separator);
  if (!degrees) return;
  if (const auto alt = RoundToInteger(std::sin(*degrees / 180 * kPi) * kAltitudeScale))
    row.Alt = CutTo<int16_t>(*alt);
}

constexpr uint8_t kSwitchBits[] = {switch_flag::DisplayOn, switch_flag::Clouds,
                                   switch_flag::Storms};

}  // namespace

std::string TimeCellText(int8_t hour, int8_t minute) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d:%02d", hour, minute);
  return buf;
}

std::string AltitudeCellText(int16_t alt, std::string_view separator) {
  if (std::abs(alt) > kAltitudeScale) return "0";
  return FormatDecimal(std::asin(alt / kAltitudeScale) * 180 / kPi, 0, 2, separator);
}

std::string PercentCellText(int16_t value, std::string_view separator) {
  return FormatDecimal(value / kPercentScale, 0, 2, separator);
}

GridLine FormatGridLine(const ScheduleRow& row, int index, bool altitude, const GridWords& words) {
  GridLine line;
  line.cells[grid::kLine] = std::to_string(index);
  if (altitude) {
    line.cells[grid::kTime] = AltitudeCellText(row.Alt, words.separator);
    line.exactAlt = row.Alt;
    line.altitudeText = line.cells[grid::kTime];
  } else {
    line.cells[grid::kTime] = TimeCellText(row.Hour, row.Minute);
  }
  for (int c = 0; c < kChannels; ++c)
    line.cells[grid::kFirstChannel + c] = PercentCellText(row.Color16[c], words.separator);
  for (int s = 0; s < 3; ++s)
    line.cells[grid::kDisplay + s] = (row.Switch & kSwitchBits[s]) ? words.on : words.off;
  line.cells[grid::kTimer] = std::to_string(row.Timer);
  return line;
}

void ReadGridLine(const GridLine& line, bool altitude, const GridWords& words, ScheduleRow& row) {
  if (altitude)
    ReadAltitude(line, words.separator, row);
  else
    ReadTime(line.cells[grid::kTime], row);
  for (int c = 0; c < kChannels; ++c) {
    const auto v =
        ScaledDecimal(line.cells[grid::kFirstChannel + c], kPercentScale, words.separator);
    if (v) row.Color16[c] = CutTo<int16_t>(*v);
  }
  for (int s = 0; s < 3; ++s) {
    if (line.cells[grid::kDisplay + s] != words.off)
      row.Switch |= kSwitchBits[s];
    else
      row.Switch &= static_cast<uint8_t>(~kSwitchBits[s]);
  }
  if (const auto t = ParseInteger(line.cells[grid::kTimer])) row.Timer = CutTo<int16_t>(*t);
}

bool CommitScheduleRow(SharedStore& store, int row, const GridLine& line, bool altitude,
                       const GridWords& words) {
  if (row < 0 || row >= static_cast<int>(store.schedule.size())) return false;
  ReadGridLine(line, altitude, words, store.schedule[static_cast<size_t>(row)]);
  store.MarkRows(static_cast<size_t>(row), 1, request::WriteSchedule);
  return true;
}

std::string ToggledSwitch(std::string_view text, const GridWords& words) {
  return text == words.on ? words.off : words.on;
}

std::optional<std::pair<int, int>> MoveGridLine(std::vector<GridLine>& lines, int from, int to) {
  const int n = static_cast<int>(lines.size());
  if (from == to || from < 0 || to < 0 || from >= n || to >= n) return std::nullopt;
  GridLine moved = std::move(lines[static_cast<size_t>(from)]);
  lines.erase(lines.begin() + from);
  lines.insert(lines.begin() + to, std::move(moved));
  const int first = std::min(from, to), last = std::max(from, to);
  for (int i = first; i <= last; ++i)
    lines[static_cast<size_t>(i)].cells[grid::kLine] = std::to_string(i);
  return std::pair{first, last};
}

void PreviewGridLine(SharedStore& store, const GridLine& line, const GridWords& words) {
  for (int c = 0; c < kChannels; ++c) {
    const auto v =
        ScaledDecimal(line.cells[grid::kFirstChannel + c], kPercentScale, words.separator);
    if (v) store.info.Channel[static_cast<size_t>(c)] = CutTo<int16_t>(*v);
  }
  store.Raise(request::WriteInfoChannels);
}

namespace {

bool BothChannels(int a, int b) {
  return a >= 0 && a < kChannels && b >= 0 && b < kChannels;
}

void MarkEveryRow(SharedStore& store) {
  store.MarkRows(0, store.schedule.size(), request::ColumnEditSet);
}

}  // namespace

bool PasteChannelColumn(SharedStore& store, int from, int to) {
  if (!BothChannels(from, to)) return false;
  store.config.ColorName[static_cast<size_t>(to)] =
      store.config.ColorName[static_cast<size_t>(from)];
  for (ScheduleRow& row : store.schedule)
    row.Color16[static_cast<size_t>(to)] = row.Color16[static_cast<size_t>(from)];
  MarkEveryRow(store);
  return true;
}

bool SwapChannelColumns(SharedStore& store, int a, int b) {
  if (!BothChannels(a, b)) return false;
  std::swap(store.config.ColorName[static_cast<size_t>(a)],
            store.config.ColorName[static_cast<size_t>(b)]);
  for (ScheduleRow& row : store.schedule)
    std::swap(row.Color16[static_cast<size_t>(a)], row.Color16[static_cast<size_t>(b)]);
  MarkEveryRow(store);
  return true;
}

}  // namespace vmx
