// Which boards a tank service on this computer holds. While velmarinexd runs
// it keeps a mark per board, a file named after the board's id holding the
// service's process id, in its runtime folder; the window leaves the
// acclimation plans of those boards to the service, which applies them
// itself. A mark whose process is gone (a service that crashed) holds nothing.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace vmx {

// Where marks are kept: the service's own, $XDG_RUNTIME_DIR/velmarinex/held
// (empty without that variable); the window also looks in the system unit's,
// /run/velmarinex/held.
std::filesystem::path HeldFolder();
std::vector<std::filesystem::path> HeldFolders();

// A mark kept for as long as the object lives; nothing when `folder` is empty
// or cannot be written.
class BoardHold {
 public:
  BoardHold(const std::filesystem::path& folder, const std::string& boardId);
  ~BoardHold();
  BoardHold(const BoardHold&) = delete;
  BoardHold& operator=(const BoardHold&) = delete;

 private:
  std::filesystem::path path_;
};

// Whether a running service has a mark for the board in any of `folders`.
bool ServiceHolds(std::string_view boardId, const std::vector<std::filesystem::path>& folders);

}  // namespace vmx
