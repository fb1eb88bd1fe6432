#include "cli/schedule_command.h"

#include <cstdio>

#include "cli/acclimate_command.h"
#include "cli/board_routines.h"
#include "cli/schedule_text.h"

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

struct Request {
  ScheduleEdit edit;
  bool json = false;
};

std::optional<Request> ParseRequest(const std::vector<std::string>& rest, std::string& problem) {
  Request r;
  for (size_t i = 0; i < rest.size(); ++i) {
    const std::string& word = rest[i];
    const ScheduleEdit::Kind edit = word == "--set"     ? ScheduleEdit::Set
                                    : word == "--move"  ? ScheduleEdit::Move
                                    : word == "--paste" ? ScheduleEdit::Paste
                                    : word == "--swap"  ? ScheduleEdit::Swap
                                                        : ScheduleEdit::None;
    if (word == "--json") {
      r.json = true;
    } else if (edit != ScheduleEdit::None && r.edit.kind == ScheduleEdit::None &&
               i + 2 < rest.size()) {
      r.edit.kind = edit;
      r.edit.first = rest[++i];
      r.edit.second = rest[++i];
    } else {
      problem = "unknown or repeated word: " + word;
      return std::nullopt;
    }
  }
  if (r.edit.kind != ScheduleEdit::None && r.json) {
    problem = "--json only prints";
    return std::nullopt;
  }
  return r;
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
  if (request->edit.kind != ScheduleEdit::None) {
    const BoardOutcome outcome = EditSchedule(board, request->edit);
    if (outcome.kind == BoardOutcome::Refused) {
      std::fprintf(stderr, "velmarinex-cli schedule: %s\n%s", outcome.problem.c_str(), kUsage);
      return 2;
    }
    if (!outcome.Ok()) {
      std::fprintf(stderr, "velmarinex-cli schedule: %s\n", outcome.problem.c_str());
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
