#include <cstdlib>

#include "persist/data_root.h"

namespace vmx {

std::filesystem::path UserDataRoot() {
  // An XDG variable that is set but not absolute is to be ignored.
  if (const char* data = std::getenv("XDG_DATA_HOME"); data && data[0] == '/')
    return std::filesystem::path(data) / "velmarinex";
  if (const char* home = std::getenv("HOME"); home && home[0] != '\0')
    return std::filesystem::path(home) / ".local" / "share" / "velmarinex";
  return {};
}

}  // namespace vmx
