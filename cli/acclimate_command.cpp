#include "cli/acclimate_command.h"

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "cli/board_session.h"
#include "cli/geo_command.h"
#include "cli/json_writer.h"
#include "cli/plan_routines.h"
#include "lang/number_text.h"
#include "link/port_name.h"
#include "persist/data_root.h"
#include "planning/plan_applier.h"
#include "planning/plan_file.h"

namespace vmx::cli {
namespace {

const char* const kUsage =
    "usage: velmarinex-cli acclimate PORT --start PERCENT --days N [--channels A-F]\n"
    "                                [--from YYYY-MM-DD]\n"
    "       velmarinex-cli acclimate PORT [--resume | --cancel]\n"
    "       velmarinex-cli acclimate PORT --status [--json]\n"
    "  (the board commands also take -v, -debug, --timeout SECONDS)\n"
    "  --start, --days  a new plan: the board's schedule now is its target; each day\n"
    "                 the planned channels get start + (100 - start) x day / days\n"
    "                 percent of it, from day 0 (--from, default today) to the last;\n"
    "                 today's step is written at once\n"
    "  --channels     the channels that follow the plan (default all)\n"
    "  (nothing)      today's step, when the board does not have it yet\n"
    "  --resume       a plan paused by a change on the board takes up again and\n"
    "                 writes today's step over it\n"
    "  --cancel       writes and saves the full schedule and ends the plan\n"
    "  --status       the plan, without the board\n"
    "  Each step is one write per schedule row and one EEPROM save.\n";

enum class Action { Apply, Start, Status, Cancel, Resume };

struct Request {
  Action action = Action::Apply;
  PlanSettings settings;
  bool json = false;
};

std::optional<Request> ParseRequest(const std::vector<std::string>& rest, std::string& problem) {
  Request r;
  bool start = false, days = false;
  auto act = [&](Action a) {
    if (r.action != Action::Apply && r.action != a) return false;
    r.action = a;
    return true;
  };
  for (size_t i = 0; i < rest.size(); ++i) {
    const std::string& word = rest[i];
    bool ok = true;
    if (word == "--status" || word == "--cancel" || word == "--resume") {
      ok = act(word == "--status" ? Action::Status : word == "--cancel" ? Action::Cancel
                                                                         : Action::Resume);
    } else if (word == "--json") {
      r.json = true;
    } else if (i + 1 < rest.size() &&
               (word == "--start" || word == "--days" || word == "--channels" || word == "--from")) {
      const std::string& value = rest[++i];
      ok = act(Action::Start);
      const auto number = ParseReal(value);
      // Checked before any conversion: a huge number has no int to be.
      const bool whole = number && std::abs(*number) <= 1000 && *number == std::floor(*number);
      if (word == "--start") {
        ok = ok && whole && !start;
        start = true;
        if (ok) r.settings.startPercent = static_cast<int>(*number);
      } else if (word == "--days") {
        ok = ok && whole && !days;
        days = true;
        if (ok) r.settings.days = static_cast<int>(*number);
      } else if (word == "--channels") {
        const auto set = ParseChannelSet(value);
        ok = ok && set;
        if (ok) r.settings.channels = *set;
      } else {
        r.settings.firstDay = ParseDate(value);
        ok = ok && r.settings.firstDay;
      }
      if (!ok) return problem = "bad " + word + " " + value, std::nullopt;
    } else {
      ok = false;
    }
    if (!ok) return problem = "unknown or conflicting word: " + word, std::nullopt;
  }
  if (r.action == Action::Start && (!start || !days))
    return problem = "a new plan takes --start and --days", std::nullopt;
  if (r.json && r.action != Action::Status) return problem = "--json goes with --status", std::nullopt;
  if (r.action == Action::Start &&
      !ValidPlanSettings(r.settings.startPercent, r.settings.days, r.settings.channels))
    return problem = "--start is 0..100 and --days 1..365", std::nullopt;
  return r;
}

void PrintStatus(const PlanResult& r, const std::string& board, bool json) {
  if (json) {
    std::printf("%s\n", JsonText(PlanValue(r, board)).c_str());
    return;
  }
  if (!r.plan) {
    std::printf("No acclimation plan for %s.\n", board.c_str());
    return;
  }
  const AcclimationPlan& p = *r.plan;
  const double factor = DayFactorPercent(p, r.day);
  std::printf("%s: %s, day %d of %d from %s, %s%% today on channels %s, %d EEPROM saves%s\n",
              board.c_str(), PlanStateWord(p), r.day, p.days, DateText(p.firstDay).c_str(),
              FormatDecimal(factor, 0, 1, ".").c_str(), ChannelSetText(p.channels).c_str(), p.saves,
              r.kind == PlanResult::Kind::Due ? "; today's step is still to be written" : "");
}

int Report(const PlanResult& r, const std::string& board) {
  using Kind = PlanResult::Kind;
  if (!r.log.empty()) std::fprintf(r.alert ? stderr : stdout, "%s\n", r.log.c_str());
  switch (r.kind) {
    case Kind::NoPlan:
      std::fprintf(stderr, "velmarinex-cli acclimate: no acclimation plan for %s\n", board.c_str());
      return 1;
    case Kind::Failed:
      std::fprintf(stderr, "velmarinex-cli acclimate: %s\n", r.problem.c_str());
      return 1;
    case Kind::Paused:
      if (r.log.empty())
        std::fprintf(stderr, "velmarinex-cli acclimate: the plan is paused; --resume or --cancel\n");
      return 1;
    case Kind::UpToDate:
    case Kind::Done:
    case Kind::Due:
      PrintStatus(r, board, false);
      return 0;
    case Kind::Created:
    case Kind::Applied:
    case Kind::Finished:
      break;
  }
  return 0;
}

PlanHome HomeOf(const std::string& port) {
  return {UserDataRoot(), BoardIdOfPort(PortFromArgument(port))};
}

}  // namespace

void AdoptScheduleEditOf(BoardSession& session) {
  const std::string error = AdoptScheduleEditOn(session, HomeOf(session.Port()));
  if (!error.empty()) std::fprintf(stderr, "velmarinex-cli: acclimation plan: %s\n", error.c_str());
}

const char* AcclimateUsage() {
  return kUsage;
}

int AcclimateCommand(int argc, char** argv) {
  std::string problem;
  const auto arguments = ParseBoardArguments(argc, argv, problem);
  const auto request = arguments ? ParseRequest(arguments->rest, problem) : std::nullopt;
  if (!request) {
    std::fprintf(stderr, "velmarinex-cli acclimate: %s\n%s", problem.c_str(), kUsage);
    return 2;
  }
  const PlanHome home = HomeOf(arguments->port);
  const ComputerCalendar calendar;
  if (request->action == Action::Status) {
    const PlanResult r = PlanStatus(home, calendar);
    if (r.kind == PlanResult::Kind::Failed) return Report(r, home.boardId);
    PrintStatus(r, home.boardId, request->json);
    return 0;
  }
  BoardSession session(*arguments);
  if (!session.Open(problem)) {
    std::fprintf(stderr, "velmarinex-cli acclimate: %s\n", problem.c_str());
    return 1;
  }
  SessionPlanBoard board(session);
  PlanResult r;
  switch (request->action) {
    case Action::Start:
      r = StartPlan(home, board, calendar, request->settings);
      break;
    case Action::Cancel:
      r = CancelPlan(home, board, calendar);
      break;
    case Action::Resume:
      r = ResumePlan(home, board, calendar);
      break;
    default:
      r = ApplyPlan(home, board, calendar);
      break;
  }
  return Report(r, home.boardId);
}

}  // namespace vmx::cli
