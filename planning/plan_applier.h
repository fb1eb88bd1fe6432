// Carrying a board's acclimation plan out over a link that waits for the
// board: the command line's session now, the tank service's later. Each call
// loads the plan, talks to the board, stores the plan again and says what it
// did in a result the caller prints, logs or returns as data.
#pragma once

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "planning/acclimation.h"

namespace vmx {

// The board as a plan needs it.
class PlanBoard {
 public:
  virtual ~PlanBoard() = default;
  // The schedule as the board holds it now, freshly read.
  virtual std::optional<std::vector<ScheduleRow>> Schedule(std::string& problem) = 0;
  // One SetSchedule per row, then one SaveEEPROM; true once the board has
  // acknowledged them all.
  virtual bool WriteAndSave(const std::vector<ScheduleRow>& rows, std::string& problem) = 0;
};

// Today on the computer's calendar, days since 1970-01-01.
class PlanClock {
 public:
  virtual ~PlanClock() = default;
  virtual long long Today() const = 0;
};
// The computer's own local calendar.
class ComputerCalendar final : public PlanClock {
 public:
  long long Today() const override;
};

// Where plans are kept (the user's data folder, or the service's) and for which board.
struct PlanHome {
  std::filesystem::path root;
  std::string boardId;
};

struct PlanResult {
  enum class Kind {
    NoPlan,
    Created,    // and today's step written
    Applied,    // today's step written (and any days missed with it)
    UpToDate,   // today's step was on the board already, or day 0 lies ahead
    Due,        // (status only) today's step is still to be written
    Finished,   // the target written at the end or on cancel
    Paused,     // just now, or before: nothing written
    Done,       // a finished plan: nothing to do
    Failed,     // `problem` says why; the plan is as it was
  };
  Kind kind = Kind::NoPlan;
  std::optional<AcclimationPlan> plan;  // as stored afterwards
  int day = 0;                          // today's day of the plan
  std::string problem;
  // A line for the log in the current language; `alert` when the keeper must
  // hear of it (the plan paused).
  std::string log;
  bool alert = false;
};

struct PlanSettings {
  int startPercent = 50;
  int days = 21;
  uint16_t channels = kAllChannels;
  std::optional<long long> firstDay;  // default today
};

// Replaces any plan of the board with a new one whose target is the board's
// schedule now, and writes today's step at once.
PlanResult StartPlan(const PlanHome& home, PlanBoard& board, const PlanClock& clock,
                     const PlanSettings& settings);
// Today's step, when it is not on the board yet.
PlanResult ApplyPlan(const PlanHome& home, PlanBoard& board, const PlanClock& clock);
// Writes and saves the target and ends the plan.
PlanResult CancelPlan(const PlanHome& home, PlanBoard& board, const PlanClock& clock);
// Takes a paused plan up again and writes today's step over the board's schedule.
PlanResult ResumePlan(const PlanHome& home, PlanBoard& board, const PlanClock& clock);
// The board's schedule edited through this program (the window, the
// command line's schedule commands): a running plan takes the rows as its new
// target, today's step being what the board now holds. Returns why the plan
// could not be stored; empty otherwise, and when no plan runs.
std::string AdoptScheduleEdit(const PlanHome& home, std::span<const ScheduleRow> board,
                              long long today);
// The plan as stored, without the board.
PlanResult PlanStatus(const PlanHome& home, const PlanClock& clock);

// A plan in a few words beside the schedule: "Acclimation: 75% today (day 5
// of 10)", "Acclimation paused", or nothing when no plan runs.
std::string TodayText(const PlanResult& status, std::string_view separator);

// The log line of a step written: "Acclimation day 5 of 10: the channels at 75% (3 EEPROM saves)".
std::string StepLogLine(const AcclimationPlan& plan, int day);

}  // namespace vmx
