#include "cli/schedule_text.h"

#include "cli/json_writer.h"
#include "lang/catalogue.h"
#include "lang/channel_text.h"
#include "link/shared_store.h"

namespace vmx::cli {
namespace {

std::vector<std::string> Headings(const SharedStore& store) {
  std::vector<std::string> h{LangText("Line"),
                             LangText(ShowsAltitude(store.config.Mode) ? "Altitude" : "Time")};
  for (int i = 0; i < kChannelCount; ++i)
    h.push_back(ChannelCaption(i, store.config.ColorName[static_cast<size_t>(i)]));
  for (const char* key : {"Display", "Clouds", "Storms", "Timer"}) h.push_back(LangText(key));
  return h;
}

std::vector<GridLine> Lines(const SharedStore& store) {
  std::vector<GridLine> lines;
  const bool altitude = ShowsAltitude(store.config.Mode);
  for (size_t r = 0; r < store.schedule.size(); ++r)
    lines.push_back(
        FormatGridLine(store.schedule[r], static_cast<int>(r), altitude, CommandLineWords()));
  return lines;
}

template <class Range>
std::string Joined(const Range& cells, const char* separator) {
  std::string out;
  for (const auto& cell : cells) {
    if (!out.empty()) out += separator;
    out += cell;
  }
  return out;
}

}  // namespace

GridWords CommandLineWords() {
  return {LangText("ON"), LangText("OFF"), "."};
}

std::string ScheduleTable(const SharedStore& store) {
  std::string out = Joined(Headings(store), "\t") + "\n";
  for (const GridLine& line : Lines(store)) out += Joined(line.cells, "\t") + "\n";
  return out;
}

std::string ScheduleJson(const SharedStore& store) {
  std::vector<std::string> headings;
  for (const std::string& h : Headings(store)) headings.push_back(JsonQuote(h));
  std::vector<std::string> rows;
  const std::vector<GridLine> lines = Lines(store);
  for (size_t r = 0; r < lines.size(); ++r) {
    const ScheduleRow& row = store.schedule[r];
    std::vector<std::string> cells, colors;
    for (const std::string& c : lines[r].cells) cells.push_back(JsonQuote(c));
    for (int16_t v : row.Color16) colors.push_back(std::to_string(v));
    JsonObject o;
    o.AddInt("line", static_cast<long long>(r));
    o.AddRaw("cells", "[" + Joined(cells, ", ") + "]");
    o.AddInt("Hour", row.Hour).AddInt("Minute", row.Minute).AddInt("Alt", row.Alt);
    o.AddRaw("Color16", "[" + Joined(colors, ", ") + "]");
    o.AddInt("Timer", row.Timer).AddInt("Switch", row.Switch);
    rows.push_back(o.Text());
  }
  JsonObject all;
  all.AddInt("Mode", store.config.Mode);
  all.AddRaw("headings", "[" + Joined(headings, ", ") + "]");
  all.AddRaw("rows", "[" + Joined(rows, ",\n  ") + "]");
  return all.Text() + "\n";
}

}  // namespace vmx::cli
