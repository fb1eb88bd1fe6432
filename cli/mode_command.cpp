#include "cli/mode_command.h"

#include <cstdio>

#include "cli/board_routines.h"
#include "lang/catalogue.h"
#include "settings/device_actions.h"

namespace vmx::cli {
namespace {

const char* const kUsage =
    "usage: velmarinex-cli mode PORT manual|auto|geo|rgbdemo|flash [-v] [-debug] "
    "[--timeout SECONDS]\n"
    "  Sets the board's operating mode as the Options menu does and waits until the\n"
    "  board has acknowledged it. rgbdemo and flash drop every other pending request.\n";

}  // namespace

int ModeCommand(int argc, char** argv) {
  std::string problem;
  const auto arguments = ParseBoardArguments(argc, argv, problem);
  const auto mode =
      arguments && arguments->rest.size() == 1 ? ModeNamed(arguments->rest[0]) : std::nullopt;
  if (!mode) {
    std::fprintf(stderr, "velmarinex-cli mode: %s\n%s",
                 problem.empty() ? "one of the five modes is needed" : problem.c_str(), kUsage);
    return 2;
  }
  BoardSession board(*arguments);
  bool done = board.Open(problem);
  if (done) {
    const BoardOutcome outcome = ChangeMode(board, *mode);
    done = outcome.Ok();
    problem = outcome.problem;
  }
  if (!done) {
    std::fprintf(stderr, "velmarinex-cli mode: %s\n", problem.c_str());
    return 1;
  }
  std::printf("%s\n", LangText(ModeTextKey(*mode)).c_str());
  return 0;
}

const char* ModeUsage() {
  return kUsage;
}

}  // namespace vmx::cli
