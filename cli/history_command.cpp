#include "cli/history_command.h"

#include <cstdio>
#include <memory>
#include <optional>

#include "cli/acclimate_command.h"
#include "cli/board_session.h"
#include "cli/history_routines.h"
#include "cli/json_writer.h"
#include "link/port_name.h"
#include "persist/data_root.h"
#include "persist/selective_restore.h"
#include "persist/settings_file.h"
#include "persist/settings_source.h"

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

std::optional<SettingsSide> ReadSide(const std::string& text, bool verbose, std::string& error) {
  const SettingsSource source = ParseSettingsSource(text);
  switch (source.kind) {
    case SettingsSource::Kind::File: {
      const SettingsText file = LoadSettingsFile(source.path);
      if (!file.doc) return error = file.error, std::nullopt;
      return SideOfFile(*file.doc);
    }
    case SettingsSource::Kind::Snapshot: {
      const LoadedSnapshot snapshot = LoadSourceSnapshot(UserDataRoot(), source);
      if (!snapshot.doc) return error = snapshot.error, std::nullopt;
      return SideOfSnapshot(*snapshot.doc);
    }
    case SettingsSource::Kind::Board:
      break;
  }
  const auto session = Connect(source.port, verbose, error);
  if (!session) return std::nullopt;
  return SideOfBoard(*session);
}

// A list as the command has always printed it: one item a line.
void PrintList(const Json& list) {
  std::string text;
  for (const Json& item : list) text += (text.empty() ? "" : ",\n ") + JsonText(item);
  std::printf("[%s]\n", text.c_str());
}

int Diff(const std::string& a, const std::string& b, const HistoryOptions& o) {
  std::string error;
  const std::optional<SettingsSide> left = ReadSide(a, o.verbose, error);
  if (!left) return Fail(error, kTrouble);
  const std::optional<SettingsSide> right = ReadSide(b, o.verbose, error);
  if (!right) return Fail(error, kTrouble);
  const SidesCompared compared = CompareSides(*left, *right);
  const SettingsDiff& diff = compared.diff;
  if (o.json) {
    PrintList(DiffValue(diff));
  } else {
    for (const SettingsDifference& d : diff.differences)
      std::printf("%s.%s: %s -> %s\n", d.section.c_str(), d.key.c_str(), d.aShown.c_str(),
                  d.bShown.c_str());
    if (!diff.beyondRows.empty())
      std::printf("beyond the board's %zu lines:\n", compared.rows.value_or(0));
    for (const SettingsDifference& d : diff.beyondRows)
      std::printf("  %s.%s: %s -> %s\n", d.section.c_str(), d.key.c_str(), d.aShown.c_str(),
                  d.bShown.c_str());
  }
  return diff.Equal() ? 0 : 1;
}

int History(const std::string& port, bool json) {
  const SettingsHistory history = HistoryOfPort(UserDataRoot(), PortFromArgument(port), {});
  const Json list = HistoryValue(history, true);
  if (json) {
    PrintList(list);
    return 0;
  }
  for (const Json& e : list) {
    std::printf("%d\t%s\t%s\t%s", e["index"].get<int>(), e["time"].get<std::string>().c_str(),
                e["reason"].get<std::string>().c_str(), e["file"].get<std::string>().c_str());
    if (e["damaged"].get<bool>())
      std::printf("\tdamaged: %s", e["problem"].get<std::string>().c_str());
    std::printf("\n");
  }
  return 0;
}

// Sends the restore and waits until the board has taken it.
int Restore(const std::string& port, const IniDocument& source, const RestoreSelection& selection,
            SnapshotReason reason, bool verbose) {
  std::string error;
  const auto session = Connect(port, verbose, error);
  if (!session) return Fail(error);
  const RestoreReport report = RestoreOnBoard(*session, source, selection, reason);
  for (const std::string& line : report.plan.beyondRows)
    std::fprintf(stderr, "velmarinex-cli: left out %s: the board has no such line\n", line.c_str());
  if (!report.outcome.Ok()) return Fail(report.outcome.problem);
  if (report.bits & request::WriteSchedule) AdoptScheduleEditOf(*session);
  std::printf("%zu of %d settings changed\n", report.plan.assignments.size(), report.plan.chosen);
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
  std::string problem;
  const std::optional<IniDocument> source = UndoSource(history, problem);
  if (!source) return Fail(problem + " for " + port);
  return Restore(port, *source, RestoreSelection{}, SnapshotReason::BeforeUndo, verbose);
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
