// Acclimation: new corals or a new lamp brought from a reduced level to the
// full schedule over days. The plan keeps the board's schedule as its target
// and each day puts the target on the board with every planned channel's
// levels scaled by that day's factor; times, altitudes, timers and switches
// stay as the target has them.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "link/records.h"

namespace vmx {

inline constexpr uint16_t kAllChannels = (1u << kChannels) - 1;

struct AcclimationPlan {
  enum class State { Running, Paused, Finished };

  int startPercent = 50;  // day 0's level, in percent of the target (0..100)
  int days = 21;          // the target itself is reached on this day
  uint16_t channels = kAllChannels;  // bit c: channel c follows the plan
  long long firstDay = 0;            // day 0, days since 1970-01-01 on the computer's calendar
  std::vector<ScheduleRow> target;
  // What the plan last put on the board (empty before its first step), and
  // what it is putting there now: a write the link cut short leaves some
  // rows of each, which is still the plan's own doing.
  std::vector<ScheduleRow> written;
  std::vector<ScheduleRow> writing;
  int appliedDay = -1;  // the day whose step is on the board
  int saves = 0;        // EEPROM saves the plan has made: each wears the board a little
  State state = State::Running;
  bool cancelled = false;  // finished by the keeper before its last day

  bool operator==(const AcclimationPlan&) const = default;
};

// Whether the values make a plan: start 0..100, 1..365 days, some channel.
bool ValidPlanSettings(int startPercent, int days, uint16_t channels);

// The factor of `day` in percent: start + (100 - start) x day / days, the
// target's 100 from the last day on and the start before day 0.
double DayFactorPercent(const AcclimationPlan& plan, int day);
// A level scaled by that factor, rounded half to even, within 0..4096.
int16_t ScaleLevel(int level, const AcclimationPlan& plan, int day);
// The rows the plan puts on the board on `day`.
std::vector<ScheduleRow> StepRows(const AcclimationPlan& plan, int day);

struct StepDecision {
  enum class Kind {
    Nothing,  // paused, finished, not begun yet, or today's step is on the board
    Write,    // `rows` go on the board, followed by one EEPROM save
    Pause,    // the board's schedule is not what the plan put there
  };
  Kind kind = Kind::Nothing;
  int day = 0;
  std::vector<ScheduleRow> rows;
  bool finishes = false;  // `rows` are the target: the plan ends with them
};

// What to do on `today` (days since 1970-01-01) with the board holding
// `board`. Days missed meanwhile are not written one by one: today's step
// stands for them.
StepDecision DecideStep(const AcclimationPlan& plan, std::span<const ScheduleRow> board,
                        long long today);
// The plan once the step's rows are on the board and saved.
void StepDone(AcclimationPlan& plan, const StepDecision& step);
void Pause(AcclimationPlan& plan);
// A paused plan takes up again, taking what the board holds now as its own:
// its next step overwrites it.
void Resume(AcclimationPlan& plan, std::span<const ScheduleRow> board);

// An edit of the board's schedule made through this program while the plan
// runs: the edited rows become the target (levels of planned channels
// divided by today's factor), and the board keeps them as today's step.
void AdoptEdit(AcclimationPlan& plan, std::span<const ScheduleRow> edited, long long today);

// Channel sets as people type them: letters and ranges, "A-F", "A,C,E-G",
// "all". Nothing for anything else or an empty set.
std::optional<uint16_t> ParseChannelSet(std::string_view text);
std::string ChannelSetText(uint16_t channels);  // "A-F,H"

}  // namespace vmx
