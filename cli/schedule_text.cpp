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

Json ScheduleValue(const SharedStore& store) {
  Json rows = Json::array();
  const std::vector<GridLine> lines = Lines(store);
  for (size_t r = 0; r < lines.size(); ++r) {
    const ScheduleRow& row = store.schedule[r];
    Json colors = Json::array();
    for (int16_t v : row.Color16) colors.push_back(v);
    Json o = Json::object();
    o["line"] = r;
    o["cells"] = lines[r].cells;
    o["Hour"] = row.Hour;
    o["Minute"] = row.Minute;
    o["Alt"] = row.Alt;
    o["Color16"] = std::move(colors);
    o["Timer"] = row.Timer;
    o["Switch"] = row.Switch;
    rows.push_back(std::move(o));
  }
  Json all = Json::object();
  all["Mode"] = store.config.Mode;
  all["headings"] = Headings(store);
  all["rows"] = std::move(rows);
  return all;
}

std::string ScheduleJson(const SharedStore& store) {
  const Json all = ScheduleValue(store);
  // A row a line, as scripts have read it.
  std::string rows;
  for (const Json& row : all["rows"]) rows += (rows.empty() ? "" : ",\n  ") + JsonText(row);
  return "{\"Mode\": " + JsonText(all["Mode"]) + ", \"headings\": " + JsonText(all["headings"]) +
         ", \"rows\": [" + rows + "]}\n";
}

}  // namespace vmx::cli
