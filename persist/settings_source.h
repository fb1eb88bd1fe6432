// Where a settings set to compare or restore comes from, as people name it:
// a board's port, a settings file, or "PORT@N" / "PORT@latest" for a snapshot
// in that board's history.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "persist/settings_history.h"

namespace vmx {

struct SettingsSource {
  enum class Kind { Board, File, Snapshot };
  Kind kind = Kind::Board;
  std::string port;   // the device, for a board and a snapshot
  std::string path;   // for a file
  std::string which;  // for a snapshot: "3" or "latest"
};

// "PORT@N" and "PORT@latest" name snapshots; a file that exists is a file;
// anything else is a port (a bare name meaning /dev/NAME).
SettingsSource ParseSettingsSource(std::string_view text);

// The history of the board on `port` under `root`.
SettingsHistory HistoryOfPort(const std::filesystem::path& root, std::string_view port,
                              std::string program);

// The snapshot a source names, checked against its header.
LoadedSnapshot LoadSourceSnapshot(const std::filesystem::path& root, const SettingsSource& source,
                                  size_t* rows = nullptr);

}  // namespace vmx
