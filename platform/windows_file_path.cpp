#include <string>

#include "platform/file_path.h"
#include "platform/windows_text.h"

namespace vmx {

std::filesystem::path PathOfText(std::string_view utf8) {
  return std::filesystem::path(WideText(utf8));
}

std::FILE* OpenFile(std::string_view utf8, const char* mode) {
  return ::_wfopen(WideText(utf8).c_str(), WideText(mode).c_str());
}

}  // namespace vmx
