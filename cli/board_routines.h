// What the board commands do to a board, apart from reading their words and
// printing: each changes the records between the worker's hand-offs, as the
// window's handlers do, and waits until the board has acknowledged it. The
// command line and the service call these same routines.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "cli/board_session.h"
#include "persist/settings_assign.h"

namespace vmx::cli {

struct BoardOutcome {
  enum Kind { Done, Refused, Failed };
  Kind kind = Done;
  std::string problem;  // why not, for Refused (the request does not fit the board) and Failed
  bool Ok() const { return kind == Done; }
};

// The settings, sent and read back; Failed names every key the board holds otherwise.
BoardOutcome WriteSettings(BoardSession& board, std::span<const SettingsAssignment> assignments);

// The mode as the Options menu sets it.
BoardOutcome ChangeMode(BoardSession& board, BoardMode mode);

struct BoardAction {
  std::string_view name;
  void (*run)(SharedStore&);
  uint32_t bits;                    // served once these are clear
  std::array<const char*, 2> sets;  // the Sets it makes
};
// save, refresh, reef, clock, cloud, storm, health; nullptr for another word.
const BoardAction* BoardActionNamed(std::string_view name);
std::span<const BoardAction> BoardActions();
BoardOutcome RunBoardAction(BoardSession& board, const BoardAction& action);

// A schedule edit as the grid makes it: a line's cells, a line moved, a
// channel's column pasted onto another or two exchanged.
struct ScheduleEdit {
  enum Kind { None, Set, Move, Paste, Swap };
  Kind kind = None;
  std::string first, second;  // LINE and CELLS, FROM and TO, or two channel letters
};
BoardOutcome EditSchedule(BoardSession& board, const ScheduleEdit& edit);

// Channel levels (0..4096) set by hand, as the channel page does; Refused
// outside mode Manual.
BoardOutcome SetChannels(BoardSession& board, std::span<const std::pair<int, int64_t>> levels);

}  // namespace vmx::cli
