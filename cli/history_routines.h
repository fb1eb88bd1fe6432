// What `settings history|diff|restore|undo` do, apart from reading their
// words and printing: the command line and the service's history routes call
// these same routines, so both list, compare and put back by one rule.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "cli/board_routines.h"
#include "cli/board_session.h"
#include "cli/json_writer.h"
#include "persist/ini_document.h"
#include "persist/selective_restore.h"
#include "persist/settings_history.h"
#include "settings/settings_diff.h"

namespace vmx::cli {

// One side of a comparison: its values, and the board's rows when it has them.
struct SettingsSide {
  SettingsValues values;
  std::optional<size_t> rows;
  bool board = false;
};

SettingsSide SideOfBoard(BoardSession& board);
// A snapshot holds exactly the rows its board had; a file says nothing of them.
SettingsSide SideOfSnapshot(const IniDocument& snapshot);
SettingsSide SideOfFile(const IniDocument& file);

struct SidesCompared {
  SettingsDiff diff;
  std::optional<size_t> rows;  // the board's rows the lines were judged by
};
// The board's rows count where a board is on either side; else a snapshot's.
SidesCompared CompareSides(const SettingsSide& a, const SettingsSide& b);

// [{"section", "key", "a", "b", "a_raw", "b_raw", "caption", "beyond_rows"}]:
// the values as the pages show them, and raw (null where a side lacks the key).
Json DiffValue(const SettingsDiff& diff);

// [{"index", "time", "reason", "program", "file", "damaged"[, "problem"]}],
// oldest first. `fullPaths`: the file with its folder, else its name alone.
Json HistoryValue(const SettingsHistory& history, bool fullPaths);

struct RestoreReport {
  BoardOutcome outcome;
  RestorePlan plan;
  uint32_t bits = 0;  // the write requests the restore raised
};
// Puts the chosen part of `source` on the board after a snapshot of what it
// held, and reports done only once the read-back agrees.
RestoreReport RestoreOnBoard(BoardSession& board, const IniDocument& source,
                             const RestoreSelection& selection, SnapshotReason reason);

// The settings undo brings back: the snapshot taken before the last import,
// restore or reef-defaults load. Nothing, with `problem` set, when there is
// none or it is damaged.
std::optional<IniDocument> UndoSource(const SettingsHistory& history, std::string& problem);

}  // namespace vmx::cli
