#include "cli/action_command.h"

#include <cstdio>
#include <string_view>

#include "cli/board_routines.h"
#include "lang/catalogue.h"
#include "lang/number_text.h"
#include "settings/device_actions.h"

namespace vmx::cli {
namespace {

const char* const kUsage =
    "usage: velmarinex-cli action PORT save|refresh|reef|clock|cloud|storm|health [-v] [-debug]\n"
    "                             [--timeout SECONDS]\n"
    "  save     store the settings permanently (after every pending write)\n"
    "  refresh  read every record again\n"
    "  reef     load the reef bundle defaults and read them back\n"
    "  clock    set the board's clock to this computer's, in real time\n"
    "  cloud    start or stop a cloud now (modes Auto and Geo)\n"
    "  storm    start or stop a thunderstorm now (modes Auto and Geo)\n"
    "  health   read and print the board's health counters\n";

std::string Hours(uint32_t intervals) {
  return FormatDecimal(intervals * 15.0 / 3600, 1, 1, ".") + "h";
}

// The counters as the health picture shows them, a line each.
void PrintHealth(const Health& h) {
  static const char* const kLabels[] = {
      "T>60:", "T>55:", "T>50:", "T>45:", "T<45:", "V>30.5:", "V>29.0:", "V>26.0:", "V<26.0:"};
  uint64_t total = 0;
  for (size_t i = 5; i < 9; ++i) total += h.Counter[i];
  std::printf("Power cycles:\t%u\n", static_cast<unsigned>(h.PowerCycles));
  std::printf("Working:\t%llu\t%s\n", static_cast<unsigned long long>(total),
              Hours(static_cast<uint32_t>(total)).c_str());
  for (size_t i = 0; i < 9; ++i) {
    const std::string share =
        total ? FormatDecimal(h.Counter[i] * 100.0 / static_cast<double>(total), 1, 1, ".") + "%"
              : "";
    std::printf("%s\t%u\t%s\t%s\n", kLabels[i], static_cast<unsigned>(h.Counter[i]),
                Hours(h.Counter[i]).c_str(), share.c_str());
  }
}

}  // namespace

int ActionCommand(int argc, char** argv) {
  std::string problem;
  const auto arguments = ParseBoardArguments(argc, argv, problem);
  const BoardAction* action =
      arguments && arguments->rest.size() == 1 ? BoardActionNamed(arguments->rest[0]) : nullptr;
  if (!action) {
    std::fprintf(stderr, "velmarinex-cli action: %s\n%s",
                 problem.empty() ? "one of the actions is needed" : problem.c_str(), kUsage);
    return 2;
  }
  BoardSession board(*arguments);
  bool done = board.Open(problem);
  if (done) {
    const BoardOutcome outcome = RunBoardAction(board, *action);
    done = outcome.Ok();
    problem = outcome.problem;
  }
  if (!done) {
    std::fprintf(stderr, "velmarinex-cli action: %s\n", problem.c_str());
    return 1;
  }
  if (action->run == ReadHealth) {
    Health health;
    board.OnUi([&] { health = board.Store().health; });
    PrintHealth(health);
  } else {
    std::printf("%s\n", LangText("Done").c_str());
  }
  return 0;
}

const char* ActionUsage() {
  return kUsage;
}

}  // namespace vmx::cli
