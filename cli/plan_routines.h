// An acclimation plan over a link session: the board as the plan sees it,
// and the plan's state as data. `velmarinex-cli acclimate` and the service's
// plan routes and daily step use these same pieces.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli/board_session.h"
#include "cli/json_writer.h"
#include "planning/plan_applier.h"

namespace vmx::cli {

// The schedule the session read, and rows written and saved with the board's
// acknowledgement: one SetSchedule per row, then one SaveEEPROM.
class SessionPlanBoard final : public PlanBoard {
 public:
  explicit SessionPlanBoard(BoardSession& session) : session_(session) {}
  std::optional<std::vector<ScheduleRow>> Schedule(std::string& problem) override;
  bool WriteAndSave(const std::vector<ScheduleRow>& rows, std::string& problem) override;

 private:
  BoardSession& session_;
};

// After a schedule edit the board has taken: a running plan of the board takes
// the edited rows as its target instead of pausing at its next step. Why the
// plan could not be stored; empty otherwise.
std::string AdoptScheduleEditOn(BoardSession& session, const PlanHome& home);

// "running", "paused", "finished" or "cancelled".
const char* PlanStateWord(const AcclimationPlan& plan);

// {"board", "state": "none"} without a plan; else also "start", "days",
// "channels", "first_day", "day", "factor", "applied_day", "due", "eeprom_saves".
Json PlanValue(const PlanResult& result, const std::string& board);

}  // namespace vmx::cli
