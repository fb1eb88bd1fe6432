// Where the program keeps what it learns about boards over time (settings
// history, light plans), per user: the XDG data directory's "velmarinex"
// folder; on Windows %LOCALAPPDATA%\Velmarinex. The service keeps the same
// tree under its own --data folder.
#pragma once

#include <filesystem>
#include <string>

namespace vmx {

// $XDG_DATA_HOME/velmarinex, else $HOME/.local/share/velmarinex; empty when
// neither variable is set (nothing is kept then). On Windows the user's local
// application data folder (%LOCALAPPDATA%, else the shell's) and "Velmarinex".
std::filesystem::path UserDataRoot();

// The folder of one board's files of one kind under `root`:
// root/kind/boardId ("history", "plans").
std::filesystem::path BoardFolder(const std::filesystem::path& root, const std::string& kind,
                                  const std::string& boardId);

}  // namespace vmx
