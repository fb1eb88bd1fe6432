// A board's settings history: timestamped snapshots of its settings in one
// folder per board, each a settings file with a [Snapshot] header saying when,
// why and by which program it was taken, and an event log of every snapshot
// event. A snapshot identical to the one before is not stored again; its
// event points to the stored file, so "the settings before the last import"
// is found even when they were already in the history.
//
// Snapshot files are written whole or not at all (a temporary file renamed
// into place). The event log only adds lines; a torn last line is skipped,
// and a file the log does not know is still listed from its own header.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "persist/ini_document.h"
#include "persist/settings_keys.h"

namespace vmx {

// Seconds since 1970-01-01 UTC; tests put a fake clock in its place.
using HistoryClock = std::function<int64_t()>;
int64_t SystemSeconds();

// Why a snapshot was taken. The "Before" kinds hold what the board had just
// before it was changed: undo goes back to the newest of them.
enum class SnapshotReason { Backup, Export, BeforeImport, BeforeRestore, BeforeReef, BeforeUndo };

std::string_view ReasonWord(SnapshotReason reason);  // "backup", "before-import", ...
std::optional<SnapshotReason> ReasonOfWord(std::string_view word);
bool IsBeforeChange(SnapshotReason reason);

// "2024-06-21T12:00:00Z"; nothing for text in any other form.
std::string UtcText(int64_t seconds);
std::optional<int64_t> ParseUtcText(std::string_view text);

struct SnapshotEntry {
  int index = 0;         // 1 for the oldest listed
  int64_t taken = 0;     // seconds, UTC
  SnapshotReason reason = SnapshotReason::Backup;
  std::string program;   // "velmarinex", "velmarinex-cli", ...
  std::string file;      // name within the board's folder
  bool damaged = false;  // header missing or damaged, file cut short or gone
  std::string problem;   // why, in the system's words
};

struct SnapshotResult {
  bool stored = false;  // a new file was written (false: the previous one was identical)
  std::string file;
  std::string error;  // empty on success
};

struct LoadedSnapshot {
  std::optional<IniDocument> doc;
  std::string error;
};

class SettingsHistory {
 public:
  // `folder`: the board's history folder, BoardFolder(root, "history", id).
  SettingsHistory(std::filesystem::path folder, std::string program, HistoryClock clock = {});

  const std::filesystem::path& Folder() const { return folder_; }

  // Stores the records with a header; creates the folder when needed.
  SnapshotResult Take(const SettingsRecords& records, SnapshotReason reason,
                      std::string_view boardId);

  // Every snapshot, oldest first, damaged ones marked.
  std::vector<SnapshotEntry> List() const;

  // The snapshot's settings; an error when it is damaged (its text no longer
  // matches its header), so a damaged one is never used unnoticed.
  LoadedSnapshot Load(const SnapshotEntry& entry) const;

  // The event log's text lines written so far, for retention to rewrite.
  std::filesystem::path EventLog() const { return folder_ / "events.log"; }

  int64_t Now() const { return clock_(); }

 private:
  std::filesystem::path folder_;
  std::string program_;
  HistoryClock clock_;
};

// "3", "latest": a snapshot of a list; nothing for any other word or an index
// the list does not have.
std::optional<SnapshotEntry> PickSnapshot(const std::vector<SnapshotEntry>& entries,
                                          std::string_view which);
// The snapshot undo brings back: the newest "before" snapshot. Nothing when
// there is none; a damaged one is returned as it is, for the caller to refuse.
std::optional<SnapshotEntry> UndoTarget(const std::vector<SnapshotEntry>& entries);

}  // namespace vmx
