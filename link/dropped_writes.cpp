#include "link/dropped_writes.h"

#include "lang/catalogue.h"
#include "link/record_requests.h"

namespace vmx {
namespace {

// "3, 5-7" for rows 3, 5, 6 and 7.
std::string RowRuns(const std::vector<int>& rows) {
  std::string text;
  for (size_t i = 0; i < rows.size();) {
    size_t end = i;
    while (end + 1 < rows.size() && rows[end + 1] == rows[end] + 1) ++end;
    if (!text.empty()) text += ", ";
    text += std::to_string(rows[i]);
    if (end > i) text += "-" + std::to_string(rows[end]);
    i = end + 1;
  }
  return text;
}

}  // namespace

std::string DroppedWritesText(const DroppedWrites& dropped) {
  std::string text;
  auto add = [&](const std::string& part) { text += (text.empty() ? "" : ", ") + part; };
  for (const ReadBack& r : kReadBacks)
    if (r.record != RecordKind::Schedule && (dropped.bits & r.writes))
      add(std::string(RecordName(r.record)));
  if (!dropped.rows.empty()) add(LangFormat("ScheduleLines", {RowRuns(dropped.rows)}));
  return text;
}

}  // namespace vmx
