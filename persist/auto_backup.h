// The automatic backup: whenever the program lets go of a board (disconnect,
// another port, closing, standby, removal) it writes the board's settings to
// "Backup_" + port + ".ini" in the program's folder, merged into the backup
// of that port that is already there.
#pragma once

#include <string>
#include <string_view>

#include "persist/port_memory.h"

namespace vmx {

class RecordsCompleteness;
class SharedStore;

// The backup's file name for a port entry ("/dev/rfcomm0 (Bluetooth)" gives
// Backup_rfcomm0.ini): the port name before the first blank, its last path
// part, every character outside A-Z, a-z, 0-9, ".", "_" and "-" replaced by
// "_". Empty when no port name is left.
std::string BackupFileName(std::string_view portEntry);

enum class BackupResult { NotConnected, NoPort, Incomplete, Written, Failed };

// Writes the backup into `folder` when the link is up and every record has
// been read; logs when it skips an incomplete copy or fails to write.
BackupResult WriteBackup(const std::string& folder, std::string_view portEntry, SharedStore& store,
                         RecordsCompleteness& records, const LogFn& log);

}  // namespace vmx
