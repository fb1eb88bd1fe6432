#include "persist/auto_backup.h"

#include "lang/catalogue.h"
#include "persist/history_triggers.h"
#include "persist/records_complete.h"
#include "persist/settings_file.h"

namespace vmx {
namespace {

bool Allowed(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' ||
         c == '_' || c == '-';
}

}  // namespace

std::string BackupFileName(std::string_view portEntry) {
  std::string_view port = portEntry.substr(0, portEntry.find(' '));
  // Only the name: a port given as a path must not lead the file elsewhere.
  if (const size_t slash = port.find_last_of("/\\"); slash != std::string_view::npos)
    port.remove_prefix(slash + 1);
  if (port.empty()) return {};
  std::string name = "Backup_";
  for (char c : port) name += Allowed(c) ? c : '_';
  return name + ".ini";
}

BackupResult WriteBackup(const std::string& folder, std::string_view portEntry, SharedStore& store,
                         RecordsCompleteness& records, const LogFn& log) {
  if (!records.Connected()) return BackupResult::NotConnected;
  const std::string name = BackupFileName(portEntry);
  if (name.empty()) return BackupResult::NoPort;
  if (!records.Complete(store)) {
    // The copy holds zeros or another board's values: a good backup stays.
    log(LangFormat("BackupSkipped", {name}));
    return BackupResult::Incomplete;
  }
  const std::string path =
      folder.empty() || folder.ends_with('/') ? folder + name : folder + "/" + name;
  const std::string error = WriteSettingsFile(path, TakeSettings(store));
  if (error.empty()) {
    SnapshotStore(store, SnapshotReason::Backup, portEntry);
    return BackupResult::Written;
  }
  log(error);
  return BackupResult::Failed;
}

}  // namespace vmx
