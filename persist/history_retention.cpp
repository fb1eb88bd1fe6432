#include "persist/history_retention.h"

#include <chrono>
#include <set>

#include "persist/ini_document.h"
#include "persist/settings_file.h"
#include "persist/text_file.h"

namespace vmx {
namespace {

namespace fs = std::filesystem;
constexpr int64_t kDay = 86400;

int64_t DayOf(int64_t seconds) {
  return seconds >= 0 ? seconds / kDay : (seconds - kDay + 1) / kDay;
}

int64_t MonthOf(int64_t seconds) {
  using namespace std::chrono;
  const year_month_day ymd{sys_days(days(DayOf(seconds)))};
  return static_cast<int64_t>(static_cast<int>(ymd.year())) * 12 +
         static_cast<unsigned>(ymd.month());
}

void ReadDays(const IniDocument& doc, const char* key, int& days) {
  const std::optional<std::string_view> text = doc.Get("Retention", key);
  if (!text) return;
  const std::optional<int64_t> value = ParseSettingsInteger(*text);
  if (value && *value >= 0 && *value <= 100000) days = static_cast<int>(*value);
}

}  // namespace

RetentionPolicy ReadRetentionPolicy(const fs::path& root) {
  RetentionPolicy policy;
  const FileRead read = ReadTextFile((root / "history" / "retention.ini").string());
  if (read.status != FileRead::Status::Read) return policy;
  const IniDocument doc = IniDocument::Parse(read.text);
  ReadDays(doc, "KeepAllDays", policy.allDays);
  ReadDays(doc, "KeepDailyDays", policy.dailyDays);
  if (const auto monthly = doc.Get("Retention", "KeepMonthly"))
    if (const auto value = ParseSettingsInteger(*monthly); value && (*value == 0 || *value == 1))
      policy.monthly = *value == 1;
  return policy;
}

std::vector<bool> RetainedSnapshots(const std::vector<SnapshotEntry>& entries, int64_t now,
                                    const RetentionPolicy& policy) {
  std::vector<bool> keep(entries.size(), false);
  if (entries.empty()) return keep;
  std::set<int64_t> days, months;
  // From the newest back, so each day and month keeps its newest.
  for (size_t i = entries.size(); i-- > 0;) {
    const int64_t age = now - entries[i].taken;
    if (age < static_cast<int64_t>(policy.allDays) * kDay)
      keep[i] = true;
    else if (age < static_cast<int64_t>(policy.dailyDays) * kDay)
      keep[i] = days.insert(DayOf(entries[i].taken)).second;
    else if (policy.monthly)
      keep[i] = months.insert(MonthOf(entries[i].taken)).second;
  }
  // The newest sound one: a damaged file's time may be anything.
  for (size_t i = entries.size(); i-- > 0;)
    if (!entries[i].damaged) {
      keep[i] = true;
      break;
    }
  // What undo brings back, and the settings before the last import.
  for (size_t i = entries.size(); i-- > 0;)
    if (IsBeforeChange(entries[i].reason)) {
      keep[i] = true;
      break;
    }
  for (size_t i = entries.size(); i-- > 0;)
    if (entries[i].reason == SnapshotReason::BeforeImport) {
      keep[i] = true;
      break;
    }
  return keep;
}

PruneResult PruneHistory(const SettingsHistory& history, const RetentionPolicy& policy) {
  PruneResult result;
  const std::vector<SnapshotEntry> entries = history.List();
  const std::vector<bool> keep = RetainedSnapshots(entries, history.Now(), policy);
  std::set<std::string> kept, damaged;
  std::string log;
  for (size_t i = 0; i < entries.size(); ++i) {
    const SnapshotEntry& e = entries[i];
    if (e.damaged) damaged.insert(e.file);
    if (!keep[i]) {
      ++result.dropped;
      continue;
    }
    kept.insert(e.file);
    // A damaged file the log never named stays out of it: it has no true event.
    if (e.damaged && e.program.empty()) continue;
    log += UtcText(e.taken) + "\t" + std::string(ReasonWord(e.reason)) + "\t" + e.program + "\t" +
           e.file + "\n";
  }
  if (result.dropped == 0) return result;
  result.error = ReplaceFile(history.EventLog().string(), log);
  if (!result.error.empty()) return result;
  for (const SnapshotEntry& e : entries) {
    if (kept.count(e.file) || damaged.count(e.file)) continue;
    std::error_code ec;
    if (fs::remove(history.Folder() / e.file, ec)) ++result.removed;
    kept.insert(e.file);  // counted once
  }
  return result;
}

}  // namespace vmx
