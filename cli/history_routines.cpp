#include "cli/history_routines.h"

#include <utility>

#include "persist/settings_file.h"
#include "persist/settings_source.h"

namespace vmx::cli {

SettingsSide SideOfBoard(BoardSession& board) {
  SettingsRecords records;
  board.OnUi([&] { records = TakeSettings(board.Store()); });
  SettingsSide side;
  side.values = ValuesOfRecords(records);
  side.rows = records.schedule.size();
  side.board = true;
  return side;
}

SettingsSide SideOfSnapshot(const IniDocument& snapshot) {
  SettingsSide side;
  side.values = ValuesOfFile(snapshot);
  side.rows = SnapshotRows(snapshot);
  return side;
}

SettingsSide SideOfFile(const IniDocument& file) {
  SettingsSide side;
  side.values = ValuesOfFile(file);
  return side;
}

SidesCompared CompareSides(const SettingsSide& a, const SettingsSide& b) {
  DiffOptions options;
  options.rowCount = a.board ? a.rows : b.board ? b.rows : a.rows ? a.rows : b.rows;
  return {DiffSettings(a.values, b.values, options), options.rowCount};
}

Json DiffValue(const SettingsDiff& diff) {
  Json list = Json::array();
  auto raw = [](const std::optional<int64_t>& value) { return value ? Json(*value) : Json(); };
  auto add = [&](const SettingsDifference& d, bool beyond) {
    list.push_back(Json{{"section", d.section}, {"key", d.key},      {"a", d.aShown},
                        {"b", d.bShown},       {"a_raw", raw(d.a)},  {"b_raw", raw(d.b)},
                        {"caption", d.caption}, {"beyond_rows", beyond}});
  };
  for (const SettingsDifference& d : diff.differences) add(d, false);
  for (const SettingsDifference& d : diff.beyondRows) add(d, true);
  return list;
}

Json HistoryValue(const SettingsHistory& history, bool fullPaths) {
  Json list = Json::array();
  for (const SnapshotEntry& e : history.List()) {
    Json item{{"index", e.index},
              {"time", UtcText(e.taken)},
              {"reason", std::string(ReasonWord(e.reason))},
              {"program", e.program},
              {"file", fullPaths ? (history.Folder() / e.file).string() : e.file},
              {"damaged", e.damaged}};
    if (e.damaged) item["problem"] = e.problem;
    list.push_back(std::move(item));
  }
  return list;
}

RestoreReport RestoreOnBoard(BoardSession& board, const IniDocument& source,
                             const RestoreSelection& selection, SnapshotReason reason) {
  RestoreOutcome sent;
  board.OnUi([&] { sent = RestoreSettings(board.Store(), source, selection, reason); });
  RestoreReport report;
  report.plan = std::move(sent.plan);
  report.bits = sent.bits;
  std::string problem;
  if (!sent.error.empty())
    report.outcome = {BoardOutcome::Refused, sent.error};
  else if (sent.bits && !board.WaitWritten(sent.bits, sent.sent, problem))
    report.outcome = {BoardOutcome::Failed, problem};
  return report;
}

std::optional<IniDocument> UndoSource(const SettingsHistory& history, std::string& problem) {
  const std::optional<SnapshotEntry> target = UndoTarget(history.List());
  if (!target) {
    problem = "nothing to undo";
    return std::nullopt;
  }
  LoadedSnapshot snapshot = history.Load(*target);
  if (!snapshot.doc) problem = snapshot.error;
  return std::move(snapshot.doc);
}

}  // namespace vmx::cli
