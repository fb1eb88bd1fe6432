#include "cli/history_command.h"

#include <cstdio>
#include <memory>
#include <optional>

#include "cli/acclimate_command.h"
#include "cli/board_session.h"
#include "cli/json_writer.h"
#include "link/port_name.h"
#include "persist/data_root.h"
#include "persist/selective_restore.h"
#include "persist/settings_file.h"
#include "persist/settings_source.h"
#include "settings/settings_diff.h"

namespace vmx::cli {
namespace {

constexpr int kTrouble = 2;  // as diff(1): 0 equal, 1 different, 2 trouble

int Fail(const std::string& message, int code = 1) {
  std::fprintf(stderr, "velmarinex-cli: %s\n", message.c_str());
  return code;
}

std::unique_ptr<BoardSession> Connect(const std::string& port, bool verbose, std::string& error) {
  auto session = std::make_unique<BoardSession>(PortArguments(port, verbose));
  if (session->Open(error)) return session;
  return nullptr;
}

// One side of a comparison: its values, and the board's rows when it has them.
struct Side {
  SettingsValues values;
  std::optional<size_t> rows;
  bool board = false;
};

std::optional<Side> ReadSide(const std::string& text, bool verbose, std::string& error) {
  const SettingsSource source = ParseSettingsSource(text);
  Side side;
  switch (source.kind) {
    case SettingsSource::Kind::File: {
      const SettingsText file = LoadSettingsFile(source.path);
      if (!file.doc) return error = file.error, std::nullopt;
      side.values = ValuesOfFile(*file.doc);
      return side;
    }
    case SettingsSource::Kind::Snapshot: {
      size_t rows = 0;
      const LoadedSnapshot snapshot = LoadSourceSnapshot(UserDataRoot(), source, &rows);
      if (!snapshot.doc) return error = snapshot.error, std::nullopt;
      side.values = ValuesOfFile(*snapshot.doc);
      side.rows = rows;
      return side;
    }
    case SettingsSource::Kind::Board:
      break;
  }
  const auto session = Connect(source.port, verbose, error);
  if (!session) return std::nullopt;
  SettingsRecords records;
  session->OnUi([&] { records = TakeSettings(session->Store()); });
  side.values = ValuesOfRecords(records);
  side.rows = records.schedule.size();
  side.board = true;
  return side;
}

std::string RawJson(const std::optional<int64_t>& value) {
  return value ? std::to_string(*value) : "null";
}

int Diff(const std::string& a, const std::string& b, const HistoryOptions& o) {
  std::string error;
  const std::optional<Side> left = ReadSide(a, o.verbose, error);
  if (!left) return Fail(error, kTrouble);
  const std::optional<Side> right = ReadSide(b, o.verbose, error);
  if (!right) return Fail(error, kTrouble);
  DiffOptions options;
  // The board's rows count; a snapshot holds exactly the rows its board had.
  options.rowCount = left->board ? left->rows : right->board ? right->rows
                                                              : left->rows ? left->rows : right->rows;
  const SettingsDiff diff = DiffSettings(left->values, right->values, options);
  if (o.json) {
    std::string list;
    auto add = [&](const SettingsDifference& d, bool beyond) {
      JsonObject item;
      item.AddString("section", d.section).AddString("key", d.key);
      item.AddString("a", d.aShown).AddString("b", d.bShown);
      item.AddRaw("a_raw", RawJson(d.a)).AddRaw("b_raw", RawJson(d.b));
      item.AddString("caption", d.caption).AddBool("beyond_rows", beyond);
      list += (list.empty() ? "" : ",\n ") + item.Text();
    };
    for (const SettingsDifference& d : diff.differences) add(d, false);
    for (const SettingsDifference& d : diff.beyondRows) add(d, true);
    std::printf("[%s]\n", list.c_str());
  } else {
    for (const SettingsDifference& d : diff.differences)
      std::printf("%s.%s: %s -> %s\n", d.section.c_str(), d.key.c_str(), d.aShown.c_str(),
                  d.bShown.c_str());
    if (!diff.beyondRows.empty())
      std::printf("beyond the board's %zu lines:\n", options.rowCount.value_or(0));
    for (const SettingsDifference& d : diff.beyondRows)
      std::printf("  %s.%s: %s -> %s\n", d.section.c_str(), d.key.c_str(), d.aShown.c_str(),
                  d.bShown.c_str());
  }
  return diff.Equal() ? 0 : 1;
}

int History(const std::string& port, bool json) {
  const SettingsHistory history = HistoryOfPort(UserDataRoot(), PortFromArgument(port), {});
  std::string list;
  for (const SnapshotEntry& e : history.List()) {
    const std::string path = (history.Folder() / e.file).string();
    if (json) {
      JsonObject item;
      item.AddInt("index", e.index).AddString("time", UtcText(e.taken));
      item.AddString("reason", ReasonWord(e.reason)).AddString("program", e.program);
      item.AddString("file", path).AddBool("damaged", e.damaged);
      if (e.damaged) item.AddString("problem", e.problem);
      list += (list.empty() ? "" : ",\n ") + item.Text();
      continue;
    }
    std::printf("%d\t%s\t%s\t%s", e.index, UtcText(e.taken).c_str(),
                std::string(ReasonWord(e.reason)).c_str(), path.c_str());
    if (e.damaged) std::printf("\tdamaged: %s", e.problem.c_str());
    std::printf("\n");
  }
  if (json) std::printf("[%s]\n", list.c_str());
  return 0;
}

// Sends the restore and waits until the board has taken it.
int Restore(const std::string& port, const IniDocument& source, const RestoreSelection& selection,
            SnapshotReason reason, bool verbose) {
  std::string error;
  const auto session = Connect(port, verbose, error);
  if (!session) return Fail(error);
  RestoreOutcome outcome;
  session->OnUi([&] { outcome = RestoreSettings(session->Store(), source, selection, reason); });
  for (const std::string& line : outcome.plan.beyondRows)
    std::fprintf(stderr, "velmarinex-cli: left out %s: the board has no such line\n", line.c_str());
  if (!outcome.error.empty()) return Fail(outcome.error);
  if (outcome.bits && !session->WaitWritten(outcome.bits, outcome.sent, error)) return Fail(error);
  if (outcome.bits & request::WriteSchedule) AdoptScheduleEditOf(*session);
  std::printf("%zu of %d settings changed\n", outcome.plan.assignments.size(), outcome.plan.chosen);
  return 0;
}

std::optional<IniDocument> SourceDocument(const std::string& text, std::string& error) {
  const SettingsSource source = ParseSettingsSource(text);
  if (source.kind == SettingsSource::Kind::Snapshot) {
    LoadedSnapshot snapshot = LoadSourceSnapshot(UserDataRoot(), source);
    if (!snapshot.doc) error = snapshot.error;
    return std::move(snapshot.doc);
  }
  SettingsText file = LoadSettingsFile(text);
  if (!file.doc) error = file.error;
  return std::move(file.doc);
}

int Undo(const std::string& port, bool verbose) {
  const SettingsHistory history = HistoryOfPort(UserDataRoot(), PortFromArgument(port), {});
  const std::optional<SnapshotEntry> target = UndoTarget(history.List());
  if (!target) return Fail("nothing to undo for " + port);
  const LoadedSnapshot snapshot = history.Load(*target);
  if (!snapshot.doc) return Fail(snapshot.error);
  return Restore(port, *snapshot.doc, RestoreSelection{}, SnapshotReason::BeforeUndo, verbose);
}

}  // namespace

bool RunHistoryCommand(const std::vector<std::string>& words, const HistoryOptions& options,
                       int& code) {
  if (words.empty()) return false;
  const std::string& verb = words[0];
  if (verb == "history" && words.size() == 2) {
    code = History(words[1], options.json);
  } else if (verb == "diff" && words.size() == 3) {
    code = Diff(words[1], words[2], options);
  } else if (verb == "restore" && words.size() == 3) {
    RestoreSelection selection;
    std::string error;
    if (!options.only.empty()) {
      const std::optional<RestoreSelection> parsed = ParseRestoreSelection(options.only, error);
      if (!parsed) return code = Fail(error, 2), true;
      selection = *parsed;
    }
    // The source is judged before the board is touched.
    const std::optional<IniDocument> source = SourceDocument(words[2], error);
    code = source ? Restore(words[1], *source, selection, SnapshotReason::BeforeRestore,
                            options.verbose)
                  : Fail(error);
  } else if (verb == "undo" && words.size() == 2) {
    code = Undo(words[1], options.verbose);
  } else {
    return false;
  }
  return true;
}

}  // namespace vmx::cli
