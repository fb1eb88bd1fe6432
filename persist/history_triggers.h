// Where the shared routines take their snapshots: a front end binds its
// shared store to the history of the board it talks to, and the automatic
// backup, every export, and every import, restore or reef-defaults load then
// keep a snapshot of the board's settings, whichever program runs them.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "persist/port_memory.h"
#include "persist/settings_history.h"

namespace vmx {

class SharedStore;

struct HistoryBinding {
  std::filesystem::path root;  // UserDataRoot(), or the service's data folder
  std::string program;         // "velmarinex", "velmarinex-cli", ...
  // The board's port now: its board id names the folder.
  std::function<std::string()> port;
  // Whether the records hold the whole board; only then is a snapshot taken.
  std::function<bool()> complete;
  HistoryClock clock;  // empty: the system clock
  LogFn log;           // where a failed snapshot is told; may be empty
};

void BindHistory(const SharedStore& store, HistoryBinding binding);
// Only the store's address is used: a window may unbind once the store is gone.
void UnbindHistory(const SharedStore* store);

// The history of the board on `port` (the bound port when empty); nothing
// when the store is not bound or no folder can be named.
std::optional<SettingsHistory> BoundHistory(const SharedStore& store, std::string_view port = {});

// Keeps a snapshot of the store's records in the bound history, pruned once
// a day by the root's retention policy. Nothing happens (and nothing is
// returned) when the store is unbound or its records are incomplete; a
// failure is logged, never stops the caller.
std::optional<SnapshotResult> SnapshotStore(SharedStore& store, SnapshotReason reason,
                                            std::string_view port = {});

}  // namespace vmx
