// The tank service is not built for Windows: no board there is held by one,
// and the window applies every plan itself.
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
