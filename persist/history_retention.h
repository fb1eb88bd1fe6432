// Which snapshots a board's history keeps as they age: every one of the last
// days, then the newest of each day, then the newest of each month. The
// newest snapshot and the one undo would bring back are always kept.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "persist/settings_history.h"

namespace vmx {

struct RetentionPolicy {
  int allDays = 14;     // keep everything this young
  int dailyDays = 92;   // then one a day up to this age (about three months)
  bool monthly = true;  // then one a month; false: nothing older
  bool operator==(const RetentionPolicy&) const = default;
};

// root/history/retention.ini, [Retention] KeepAllDays, KeepDailyDays,
// KeepMonthly (0 or 1). Missing or unreadable values keep their defaults.
RetentionPolicy ReadRetentionPolicy(const std::filesystem::path& root);

// One flag per entry (in list order): whether it stays.
std::vector<bool> RetainedSnapshots(const std::vector<SnapshotEntry>& entries, int64_t now,
                                    const RetentionPolicy& policy);

struct PruneResult {
  int dropped = 0;  // events dropped
  int removed = 0;  // files deleted
  std::string error;
};

// Drops the events the policy lets go and the files no kept event points to.
// A damaged file is never deleted: it stays listed for the user to see.
PruneResult PruneHistory(const SettingsHistory& history, const RetentionPolicy& policy);

}  // namespace vmx
