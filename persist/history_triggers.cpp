#include "persist/history_triggers.h"

#include <map>

#include "link/port_name.h"
#include "persist/data_root.h"
#include "persist/history_retention.h"
#include "persist/settings_file.h"
#include "persist/text_file.h"
#include "platform/mutex.h"

namespace vmx {
namespace {

// The stores bound so far, for any thread that takes a snapshot.
struct Registry {
  Mutex lock;
  std::map<const SharedStore*, HistoryBinding> bindings GUARDED_BY(lock);
};

Registry& Bindings() {
  static Registry registry;
  return registry;
}

std::optional<HistoryBinding> BindingOf(const SharedStore& store) {
  Registry& r = Bindings();
  MutexLock g(r.lock);
  const auto it = r.bindings.find(&store);
  if (it == r.bindings.end()) return std::nullopt;
  return it->second;
}

// Retention runs with the first snapshot of each day, not with every one:
// listing a long history costs more than a backup may.
void PruneOncePerDay(const HistoryBinding& binding, const SettingsHistory& history) {
  const std::filesystem::path marker = history.Folder() / "pruned";
  const std::string today = UtcText(history.Now()).substr(0, 10);
  const FileRead last = ReadTextFile(marker.string());
  if (last.status == FileRead::Status::Read && last.text == today) return;
  const PruneResult pruned = PruneHistory(history, ReadRetentionPolicy(binding.root));
  if (!pruned.error.empty() && binding.log) binding.log(pruned.error);
  ReplaceFile(marker.string(), today);
}

}  // namespace

void BindHistory(const SharedStore& store, HistoryBinding binding) {
  Registry& r = Bindings();
  MutexLock g(r.lock);
  r.bindings[&store] = std::move(binding);
}

void UnbindHistory(const SharedStore* store) {
  Registry& r = Bindings();
  MutexLock g(r.lock);
  r.bindings.erase(store);
}

std::optional<SettingsHistory> BoundHistory(const SharedStore& store, std::string_view port) {
  const std::optional<HistoryBinding> binding = BindingOf(store);
  if (!binding || binding->root.empty()) return std::nullopt;
  const std::string named = port.empty() && binding->port ? binding->port() : std::string(port);
  const std::string device = PortOfText(named);
  if (device.empty()) return std::nullopt;
  return SettingsHistory(BoardFolder(binding->root, "history", BoardIdOfPort(device)),
                         binding->program, binding->clock);
}

std::optional<SnapshotResult> SnapshotStore(SharedStore& store, SnapshotReason reason,
                                            std::string_view port) {
  const std::optional<HistoryBinding> binding = BindingOf(store);
  if (!binding || (binding->complete && !binding->complete())) return std::nullopt;
  std::optional<SettingsHistory> history = BoundHistory(store, port);
  if (!history) return std::nullopt;
  const SnapshotResult result =
      history->Take(TakeSettings(store), reason, history->Folder().filename().string());
  if (!result.error.empty() && binding->log) binding->log(result.error);
  if (result.stored) PruneOncePerDay(*binding, *history);
  return result;
}

}  // namespace vmx
