#include "cli/plan_routines.h"

#include "cli/line_watch.h"
#include "planning/plan_file.h"

namespace vmx::cli {

std::optional<std::vector<ScheduleRow>> SessionPlanBoard::Schedule(std::string&) {
  std::vector<ScheduleRow> rows;
  session_.OnUi([&] { rows = session_.Store().schedule; });
  return rows;
}

bool SessionPlanBoard::WriteAndSave(const std::vector<ScheduleRow>& rows, std::string& problem) {
  bool fits = false;
  session_.OnUi([&] {
    SharedStore& store = session_.Store();
    fits = rows.size() == store.schedule.size();
    if (!fits) return;
    store.schedule = rows;
    store.MarkRows(0, rows.size(), request::WriteSchedule | request::SaveEEPROM);
  });
  if (!fits) return problem = "the board's number of schedule rows changed", false;
  std::vector<std::string> sets;
  for (size_t i = 0; i < rows.size(); ++i) sets.push_back(LineWatch::RowSetKey(static_cast<int>(i)));
  sets.push_back("7F01");
  return session_.WaitServed(request::WriteSchedule | request::SaveEEPROM, sets, problem);
}

std::string AdoptScheduleEditOn(BoardSession& session, const PlanHome& home) {
  std::vector<ScheduleRow> rows;
  session.OnUi([&] { rows = session.Store().schedule; });
  return AdoptScheduleEdit(home, rows, ComputerCalendar().Today());
}

const char* PlanStateWord(const AcclimationPlan& plan) {
  switch (plan.state) {
    case AcclimationPlan::State::Paused:
      return "paused";
    case AcclimationPlan::State::Finished:
      return plan.cancelled ? "cancelled" : "finished";
    case AcclimationPlan::State::Running:
      break;
  }
  return "running";
}

Json PlanValue(const PlanResult& result, const std::string& board) {
  JsonObject o;
  o.AddString("board", board);
  if (!result.plan) return o.AddString("state", "none").Value();
  const AcclimationPlan& p = *result.plan;
  o.AddString("state", PlanStateWord(p));
  o.AddInt("start", p.startPercent).AddInt("days", p.days);
  o.AddString("channels", ChannelSetText(p.channels)).AddString("first_day", DateText(p.firstDay));
  o.AddInt("day", result.day).AddNumber("factor", DayFactorPercent(p, result.day));
  o.AddInt("applied_day", p.appliedDay);
  o.AddBool("due", result.kind == PlanResult::Kind::Due).AddInt("eeprom_saves", p.saves);
  return o.Value();
}

}  // namespace vmx::cli
