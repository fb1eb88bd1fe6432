#include "cli/schedule_command.h"

#include <cctype>
#include <cstdio>
#include <sstream>

#include "cli/acclimate_command.h"
#include "cli/board_session.h"
#include "cli/schedule_text.h"
#include "lang/number_text.h"

namespace vmx::cli {
namespace {

const char* const kUsage =
    "usage: velmarinex-cli schedule PORT [--json]\n"
    "       velmarinex-cli schedule PORT --set LINE \"CELLS...\"\n"
    "       velmarinex-cli schedule PORT --move FROM TO\n"
    "       velmarinex-cli schedule PORT --paste FROM TO | --swap A B\n"
    "  (each also takes -v, -debug, --timeout SECONDS)\n"
    "  Prints the board's schedule rows as the Schedule grid shows them, one line\n"
    "  per row, cells separated by tabs. The edits work as in the grid and print the\n"
    "  schedule once the board has acknowledged every changed row:\n"
    "  --set   LINE's cells from column 1 on (time, or altitude in mode Geo; the twelve\n"
    "          channels in percent; Display, Clouds, Storms as ON or OFF; JMP pin),\n"
    "          separated by blanks; \"-\" keeps a cell, missing cells at the end too\n"
    "  --move  moves line FROM to line TO\n"
    "  --paste channel TO takes the name and values of channel FROM (letters A..L)\n"
    "  --swap  exchanges two channels\n";

enum class Edit { None, Set, Move, Paste, Swap };

struct Request {
  Edit edit = Edit::None;
  bool json = false;
  std::string first, second;  // the edit's two words
};

std::optional<Request> ParseRequest(const std::vector<std::string>& rest, std::string& problem) {
  Request r;
  for (size_t i = 0; i < rest.size(); ++i) {
    const std::string& word = rest[i];
    const Edit edit = word == "--set"     ? Edit::Set
                      : word == "--move"  ? Edit::Move
                      : word == "--paste" ? Edit::Paste
                      : word == "--swap"  ? Edit::Swap
                                          : Edit::None;
    if (word == "--json") {
      r.json = true;
    } else if (edit != Edit::None && r.edit == Edit::None && i + 2 < rest.size()) {
      r.edit = edit;
      r.first = rest[++i];
      r.second = rest[++i];
    } else {
      problem = "unknown or repeated word: " + word;
      return std::nullopt;
    }
  }
  if (r.edit != Edit::None && r.json) {
    problem = "--json only prints";
    return std::nullopt;
  }
  return r;
}

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
std::optional<std::vector<std::string>> MakeEdit(SharedStore& store, const Request& r,
                                                 std::string& problem) {
  const int rows = static_cast<int>(store.schedule.size());
  const bool altitude = ShowsAltitude(store.config.Mode);
  const GridWords words = CommandLineWords();
  auto line = [&](int row) {
    return FormatGridLine(store.schedule[static_cast<size_t>(row)], row, altitude, words);
  };
  std::vector<std::string> sets;
  if (r.edit == Edit::Set) {
    const auto row = Index(r.first, rows);
    if (!row) return problem = "no line " + r.first, std::nullopt;
    GridLine typed = line(*row);
    if (!TypeCells(r.second, typed, problem)) return std::nullopt;
    CommitScheduleRow(store, *row, typed, altitude, words);
    sets.push_back(LineWatch::RowSetKey(*row));
  } else if (r.edit == Edit::Move) {
    const auto from = Index(r.first, rows), to = Index(r.second, rows);
    if (!from || !to) return problem = "no such line", std::nullopt;
    std::vector<GridLine> lines;
    for (int i = 0; i < rows; ++i) lines.push_back(line(i));
    if (const auto moved = MoveGridLine(lines, *from, *to)) {
      for (int i = moved->first; i <= moved->second; ++i) {
        CommitScheduleRow(store, i, lines[static_cast<size_t>(i)], altitude, words);
        sets.push_back(LineWatch::RowSetKey(i));
      }
    }
  } else {
    const auto a = Channel(r.first), b = Channel(r.second);
    if (!a || !b) return problem = "channels are letters A..L", std::nullopt;
    if (r.edit == Edit::Paste)
      PasteChannelColumn(store, *a, *b);
    else
      SwapChannelColumns(store, *a, *b);
    sets.push_back("02");
    for (int i = 0; i < rows; ++i) sets.push_back(LineWatch::RowSetKey(i));
  }
  return sets;
}

}  // namespace

int ScheduleCommand(int argc, char** argv) {
  std::string problem;
  const auto arguments = ParseBoardArguments(argc, argv, problem);
  const auto request = arguments ? ParseRequest(arguments->rest, problem) : std::nullopt;
  if (!request) {
    std::fprintf(stderr, "velmarinex-cli schedule: %s\n%s", problem.c_str(), kUsage);
    return 2;
  }
  BoardSession board(*arguments);
  if (!board.Open(problem)) {
    std::fprintf(stderr, "velmarinex-cli schedule: %s\n", problem.c_str());
    return 1;
  }
  if (request->edit != Edit::None) {
    std::optional<std::vector<std::string>> sets;
    board.OnUi([&] { sets = MakeEdit(board.Store(), *request, problem); });
    if (!sets) {
      std::fprintf(stderr, "velmarinex-cli schedule: %s\n%s", problem.c_str(), kUsage);
      return 2;
    }
    if (!board.WaitServed(request::ColumnEditSet, *sets, problem)) {
      std::fprintf(stderr, "velmarinex-cli schedule: %s\n", problem.c_str());
      return 1;
    }
    AdoptScheduleEditOf(board);
  }
  std::string text;
  board.OnUi(
      [&] { text = request->json ? ScheduleJson(board.Store()) : ScheduleTable(board.Store()); });
  std::fputs(text.c_str(), stdout);
  return 0;
}

const char* ScheduleUsage() {
  return kUsage;
}

}  // namespace vmx::cli
