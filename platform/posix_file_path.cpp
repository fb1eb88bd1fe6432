#include <string>

#include "platform/file_path.h"

namespace vmx {

std::filesystem::path PathOfText(std::string_view utf8) {
  return std::filesystem::path(utf8);
}

std::FILE* OpenFile(std::string_view utf8, const char* mode) {
  return std::fopen(std::string(utf8).c_str(), mode);
}

}  // namespace vmx
