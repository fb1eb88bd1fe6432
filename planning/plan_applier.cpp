#include "planning/plan_applier.h"

#include <algorithm>

#include "astro/time_zone.h"
#include "lang/catalogue.h"
#include "lang/number_text.h"
#include "planning/plan_file.h"
#include "settings/device_actions.h"

namespace vmx {
namespace {

using Kind = PlanResult::Kind;

PlanResult Failed(std::string problem, std::optional<AcclimationPlan> plan = std::nullopt) {
  PlanResult r;
  r.kind = Kind::Failed;
  r.problem = std::move(problem);
  r.plan = std::move(plan);
  return r;
}

int DayOf(const AcclimationPlan& plan, long long today) {
  return static_cast<int>(today - plan.firstDay);
}

// Stores `plan` and fills the result's plan and day; false (and `r` failed) when it cannot.
bool Keep(const PlanHome& home, const AcclimationPlan& plan, long long today, PlanResult& r) {
  const std::string error = StorePlan(home.root, home.boardId, plan);
  r.plan = plan;
  r.day = DayOf(plan, today);
  if (error.empty()) return true;
  r.kind = Kind::Failed;
  r.problem = "the plan could not be stored: " + error;
  return false;
}

// Puts `rows` on the board and saves them; the plan knows of the write
// before it starts, so a link cut halfway is not taken for a stranger's edit.
bool Write(const PlanHome& home, AcclimationPlan& plan, const std::vector<ScheduleRow>& rows,
           PlanBoard& board, long long today, PlanResult& r) {
  plan.writing = rows;
  if (!Keep(home, plan, today, r)) return false;
  if (!board.WriteAndSave(rows, r.problem)) {
    r.kind = Kind::Failed;
    return false;
  }
  return true;
}

PlanResult Step(const PlanHome& home, AcclimationPlan plan, PlanBoard& board, long long today,
                Kind written) {
  PlanResult r;
  const auto rows = board.Schedule(r.problem);
  if (!rows) return Failed(r.problem, plan);
  const StepDecision step = DecideStep(plan, *rows, today);
  r.plan = plan;
  r.day = DayOf(plan, today);
  switch (step.kind) {
    case StepDecision::Kind::Pause:
      Pause(plan);
      if (!Keep(home, plan, today, r)) return r;
      r.kind = Kind::Paused;
      r.log = LangText("AcclimationPaused");
      r.alert = true;
      return r;
    case StepDecision::Kind::Nothing:
      r.kind = plan.state == AcclimationPlan::State::Paused     ? Kind::Paused
               : plan.state == AcclimationPlan::State::Finished ? Kind::Done
                                                                : Kind::UpToDate;
      return r;
    case StepDecision::Kind::Write:
      break;
  }
  if (!Write(home, plan, step.rows, board, today, r)) return r;
  StepDone(plan, step);
  if (!Keep(home, plan, today, r)) return r;
  r.kind = step.finishes ? Kind::Finished : written;
  r.log = step.finishes ? LangFormat("AcclimationFinished", {std::to_string(plan.saves)})
                        : StepLogLine(plan, step.day);
  return r;
}

// The stored plan, or the result that there is none or it cannot be read.
std::optional<AcclimationPlan> Load(const PlanHome& home, PlanResult& r) {
  PlanLoad load = LoadPlan(home.root, home.boardId);
  if (load.plan) return load.plan;
  r.kind = load.error.empty() ? Kind::NoPlan : Kind::Failed;
  if (!load.error.empty()) r.problem = PlanPath(home.root, home.boardId).string() + ": " + load.error;
  return std::nullopt;
}

}  // namespace

long long ComputerCalendar::Today() const {
  const LocalDateTime now = ComputerClock();
  return DaysFromCivil(now.year, now.month, now.day);
}

std::string TodayText(const PlanResult& status, std::string_view separator) {
  if (!status.plan) return {};
  const AcclimationPlan& p = *status.plan;
  if (p.state == AcclimationPlan::State::Paused) return LangText("AcclimationPausedShort");
  if (p.state != AcclimationPlan::State::Running || status.day < 0) return {};
  return LangFormat("AcclimationToday",
                    {FormatDecimal(DayFactorPercent(p, status.day), 0, 1, separator),
                     std::to_string(status.day), std::to_string(p.days)});
}

std::string StepLogLine(const AcclimationPlan& plan, int day) {
  return LangFormat("AcclimationStep",
                    {std::to_string(day), std::to_string(plan.days),
                     FormatDecimal(DayFactorPercent(plan, day), 0, 1, "."),
                     std::to_string(plan.saves)});
}

PlanResult StartPlan(const PlanHome& home, PlanBoard& board, const PlanClock& clock,
                     const PlanSettings& settings) {
  if (!ValidPlanSettings(settings.startPercent, settings.days, settings.channels))
    return Failed("a plan starts at 0..100 %, lasts 1..365 days and takes some channel");
  PlanResult r;
  const auto old = Load(home, r);
  if (r.kind == Kind::Failed) return r;
  // The board of a running plan holds a reduced schedule, which must not
  // become the next plan's target.
  if (old && old->state != AcclimationPlan::State::Finished)
    return Failed("the board has an acclimation plan already; cancel it first", old);
  const long long today = clock.Today();
  const auto rows = board.Schedule(r.problem);
  if (!rows) return Failed(r.problem);
  if (rows->empty()) return Failed("the board has no schedule rows");
  AcclimationPlan plan;
  plan.startPercent = settings.startPercent;
  plan.days = settings.days;
  plan.channels = settings.channels;
  plan.firstDay = settings.firstDay.value_or(today);
  plan.target = *rows;
  if (!Keep(home, plan, today, r)) return r;
  r = Step(home, plan, board, today, Kind::Created);
  // Day 0 still ahead: the plan is made and waits.
  if (r.kind == Kind::UpToDate) r.kind = Kind::Created;
  return r;
}

PlanResult ApplyPlan(const PlanHome& home, PlanBoard& board, const PlanClock& clock) {
  PlanResult r;
  const auto plan = Load(home, r);
  if (!plan) return r;
  return Step(home, *plan, board, clock.Today(), Kind::Applied);
}

PlanResult CancelPlan(const PlanHome& home, PlanBoard& board, const PlanClock& clock) {
  PlanResult r;
  auto plan = Load(home, r);
  if (!plan) return r;
  const long long today = clock.Today();
  r.plan = plan;
  r.day = DayOf(*plan, today);
  if (plan->state == AcclimationPlan::State::Finished) {
    r.kind = Kind::Done;
    return r;
  }
  if (!Write(home, *plan, plan->target, board, today, r)) return r;
  plan->written = plan->target;
  plan->writing.clear();
  ++plan->saves;
  plan->state = AcclimationPlan::State::Finished;
  plan->cancelled = true;
  if (!Keep(home, *plan, today, r)) return r;
  r.kind = Kind::Finished;
  r.log = LangFormat("AcclimationCancelled", {std::to_string(plan->saves)});
  return r;
}

PlanResult ResumePlan(const PlanHome& home, PlanBoard& board, const PlanClock& clock) {
  PlanResult r;
  auto plan = Load(home, r);
  if (!plan) return r;
  const auto rows = board.Schedule(r.problem);
  if (!rows) return Failed(r.problem, plan);
  Resume(*plan, *rows);
  return Step(home, *plan, board, clock.Today(), Kind::Applied);
}

std::string AdoptScheduleEdit(const PlanHome& home, std::span<const ScheduleRow> board,
                              long long today) {
  PlanLoad load = LoadPlan(home.root, home.boardId);
  if (!load.plan || load.plan->state != AcclimationPlan::State::Running) return load.error;
  const auto same = [&](const std::vector<ScheduleRow>& rows) {
    return std::equal(board.begin(), board.end(), rows.begin(), rows.end());
  };
  if (same(load.plan->written) || same(load.plan->writing)) return {};
  AdoptEdit(*load.plan, board, today);
  return StorePlan(home.root, home.boardId, *load.plan);
}

PlanResult PlanStatus(const PlanHome& home, const PlanClock& clock) {
  PlanResult r;
  const auto plan = Load(home, r);
  if (!plan) return r;
  r.plan = plan;
  r.day = DayOf(*plan, clock.Today());
  r.kind = plan->state == AcclimationPlan::State::Paused     ? Kind::Paused
           : plan->state == AcclimationPlan::State::Finished ? Kind::Done
           : plan->appliedDay == r.day || r.day < 0          ? Kind::UpToDate
                                                              : Kind::Due;
  return r;
}

}  // namespace vmx
