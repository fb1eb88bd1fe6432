// Part of a settings file or snapshot put back on the board: whole sections,
// the schedule, single schedule lines or single keys. Only the chosen keys
// whose values differ from the board's go out, through the same assignment
// routine as single settings, after a snapshot of what the board had.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "persist/ini_document.h"
#include "persist/settings_assign.h"
#include "persist/settings_history.h"

namespace vmx {

class SharedStore;

struct RestoreSelection {
  bool everything = true;             // nothing chosen: every section and the schedule
  std::vector<std::string> sections;  // "Config", "Weather", "Names", "RC5", "TimeZone"
  bool schedule = false;
  std::vector<std::pair<size_t, size_t>> lines;           // first..last, both included
  std::vector<std::pair<std::string, std::string>> keys;  // {"Config", "FanLow"}, {"3", "Hour"}

  bool Chooses(std::string_view section, std::string_view key, std::optional<size_t> row) const;
};

// "config,weather,schedule,lines=3-7,Config.FanLow,2.Hour": words without
// regard to case. Nothing, with `error` set, for a word it does not know.
std::optional<RestoreSelection> ParseRestoreSelection(std::string_view text, std::string& error);

struct RestorePlan {
  std::vector<SettingsAssignment> assignments;  // chosen keys whose value differs
  int chosen = 0;                               // chosen keys the source holds
  std::vector<std::string> beyondRows;          // "[9]": lines the board does not have
};

// What restoring would change on records holding `current`.
RestorePlan PlanRestore(const IniDocument& source, const RestoreSelection& selection,
                        const SettingsRecords& current);

struct RestoreOutcome {
  RestorePlan plan;
  uint32_t bits = 0;      // write requests raised; 0: nothing to send
  SettingsRecords sent;   // the records as they go out, to compare the read-back with
  std::string error;
};

// Snapshots the board's settings (for undo), then stores the plan's values in
// the shared records and raises their write bits. The caller waits for the
// read-back before it reports success.
RestoreOutcome RestoreSettings(SharedStore& store, const IniDocument& source,
                               const RestoreSelection& selection,
                               SnapshotReason reason = SnapshotReason::BeforeRestore);

}  // namespace vmx
