#include "cli/board_routines.h"

#include <cctype>
#include <cstdio>
#include <optional>
#include <sstream>

#include "app/link_state_table.h"
#include "cli/schedule_text.h"
#include "lang/number_text.h"
#include "persist/settings_file.h"
#include "settings/channel_levels.h"
#include "settings/device_actions.h"

namespace vmx::cli {
namespace {

BoardOutcome Outcome(bool done, std::string problem) {
  return {done ? BoardOutcome::Done : BoardOutcome::Failed, done ? std::string() : problem};
}

BoardOutcome Refusal(std::string problem) {
  return {BoardOutcome::Refused, std::move(problem)};
}

void SetClockNow(SharedStore& store) {
  SetCurrentTimeAndDate(store, ComputerClock());
}

const BoardAction kActions[] = {
    {"save", SaveSettings, request::SaveEEPROM, {"7F01"}},
    {"refresh", Refresh, request::ReadAllSet, {}},
    {"reef", LoadReefDefaults, request::LoadReef | request::ReadAllSet, {"7F04"}},
    {"clock", SetClockNow, request::WriteConfig | request::WriteInfoTime, {"02", "01"}},
    {"cloud", TriggerCloud, request::ToggleCloud, {"7F02"}},
    {"storm", TriggerStorm, request::ToggleStorm, {"7F03"}},
    {"health", ReadHealth, request::ReadHealth, {}},
};

std::optional<int> Index(const std::string& text, int count) {
  const auto v = ParseInteger(text);
  if (!v || *v < 0 || *v >= count) return std::nullopt;
  return static_cast<int>(*v);
}

std::optional<int> Channel(const std::string& text) {
  if (text.size() != 1) return std::nullopt;
  const int c = std::toupper(static_cast<unsigned char>(text[0])) - 'A';
  if (c < 0 || c >= kChannels) return std::nullopt;
  return c;
}

std::string RowKey(int row) {
  char key[16];
  std::snprintf(key, sizeof key, "03%02X", static_cast<unsigned>(row & 0xFF));
  return key;
}

// The typed cells over `line`. A switch cell takes ON or OFF only (any case):
// the grid counts every other text as on, which a script would not expect.
bool TypeCells(const std::string& cells, GridLine& line, std::string& problem) {
  std::istringstream words(cells);
  std::string cell;
  const GridWords w = CommandLineWords();
  for (int column = grid::kTime; words >> cell; ++column) {
    if (column >= grid::kColumns) {
      problem = "more cells than the line has";
      return false;
    }
    if (cell == "-") continue;
    if (grid::IsSwitchColumn(column)) {
      std::string upper = cell;
      for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
      if (upper != w.on && upper != w.off) {
        problem = "a switch cell is " + w.on + " or " + w.off + ": " + cell;
        return false;
      }
      cell = upper;
    }
    line.cells[static_cast<size_t>(column)] = cell;
  }
  return true;
}

// The edit on the board's records, as the grid makes it (run between the
// worker's hand-offs). The Sets it makes, or nothing (and `problem`) when the
// words do not fit the board.
std::optional<std::vector<std::string>> MakeEdit(SharedStore& store, const ScheduleEdit& r,
                                                 std::string& problem) {
  const int rows = static_cast<int>(store.schedule.size());
  const bool altitude = ShowsAltitude(store.config.Mode);
  const GridWords words = CommandLineWords();
  auto line = [&](int row) {
    return FormatGridLine(store.schedule[static_cast<size_t>(row)], row, altitude, words);
  };
  std::vector<std::string> sets;
  if (r.kind == ScheduleEdit::Set) {
    const auto row = Index(r.first, rows);
    if (!row) return problem = "no line " + r.first, std::nullopt;
    GridLine typed = line(*row);
    if (!TypeCells(r.second, typed, problem)) return std::nullopt;
    CommitScheduleRow(store, *row, typed, altitude, words);
    sets.push_back(RowKey(*row));
  } else if (r.kind == ScheduleEdit::Move) {
    const auto from = Index(r.first, rows), to = Index(r.second, rows);
    if (!from || !to) return problem = "no such line", std::nullopt;
    std::vector<GridLine> lines;
    for (int i = 0; i < rows; ++i) lines.push_back(line(i));
    if (const auto moved = MoveGridLine(lines, *from, *to)) {
      for (int i = moved->first; i <= moved->second; ++i) {
        CommitScheduleRow(store, i, lines[static_cast<size_t>(i)], altitude, words);
        sets.push_back(RowKey(i));
      }
    }
  } else {
    const auto a = Channel(r.first), b = Channel(r.second);
    if (!a || !b) return problem = "channels are letters A..L", std::nullopt;
    if (r.kind == ScheduleEdit::Paste)
      PasteChannelColumn(store, *a, *b);
    else
      SwapChannelColumns(store, *a, *b);
    sets.push_back("02");
    for (int i = 0; i < rows; ++i) sets.push_back(RowKey(i));
  }
  return sets;
}

}  // namespace

BoardOutcome WriteSettings(BoardSession& board, std::span<const SettingsAssignment> assignments) {
  std::string problem;
  uint32_t bits = 0;
  SettingsRecords sent;
  board.OnUi([&] {
    bits = AssignSettings(board.Store(), assignments, problem);
    sent = TakeSettings(board.Store());
  });
  if (bits == 0) return Refusal(problem);
  const bool done = board.WaitWritten(bits, sent, problem);
  return Outcome(done, problem);
}

BoardOutcome ChangeMode(BoardSession& board, BoardMode mode) {
  board.OnUi([&] {
    SetMode(board.Store(), mode);
    RequestModeWrite(board.Store(), mode);
  });
  std::string problem;
  const bool done = board.WaitServed(request::WriteConfig, {"02"}, problem);
  return Outcome(done, problem);
}

std::span<const BoardAction> BoardActions() {
  return kActions;
}

const BoardAction* BoardActionNamed(std::string_view name) {
  for (const BoardAction& a : kActions)
    if (a.name == name) return &a;
  return nullptr;
}

BoardOutcome RunBoardAction(BoardSession& board, const BoardAction& action) {
  board.OnUi([&] { action.run(board.Store()); });
  std::vector<std::string> sets;
  for (const char* set : action.sets)
    if (set) sets.push_back(set);
  std::string problem;
  const bool done = board.WaitServed(action.bits, sets, problem);
  return Outcome(done, problem);
}

BoardOutcome EditSchedule(BoardSession& board, const ScheduleEdit& edit) {
  std::string problem;
  std::optional<std::vector<std::string>> sets;
  board.OnUi([&] { sets = MakeEdit(board.Store(), edit, problem); });
  if (!sets) return Refusal(problem);
  const bool done =
      board.WaitServed(request::ColumnEditSet, *sets, problem);
  return Outcome(done, problem);
}

BoardOutcome SetChannels(BoardSession& board, std::span<const std::pair<int, int64_t>> levels) {
  std::string problem;
  board.OnUi([&] {
    LinkFacts facts;
    facts.connected = board.Connected();
    facts.mode = board.Store().config.Mode;
    if (!ConditionHolds(LinkCondition::ManualMode, facts)) {
      problem = "channels are set by hand in mode Manual only";
      return;
    }
    for (const auto& [channel, level] : levels) SetChannelLevel(board.Store(), channel, level);
  });
  if (!problem.empty()) return Refusal(problem);
  const bool done = board.WaitServed(request::WriteInfoChannels, {"01"}, problem);
  return Outcome(done, problem);
}

}  // namespace vmx::cli
