// Windows has no per-user runtime folder that a service and the window both
// see; boards are not marked there yet, so the window applies every plan of
// the board it holds, and a keeper runs either the window or the service.
#include "persist/held_boards.h"

namespace vmx {

std::filesystem::path HeldFolder() {
  return {};
}

std::vector<std::filesystem::path> HeldFolders() {
  return {};
}

BoardHold::BoardHold(const std::filesystem::path&, const std::string&) {}

BoardHold::~BoardHold() = default;

bool ServiceHolds(std::string_view, const std::vector<std::filesystem::path>&) {
  return false;
}

}  // namespace vmx
