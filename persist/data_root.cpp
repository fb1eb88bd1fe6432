#include "persist/data_root.h"

namespace vmx {

std::filesystem::path BoardFolder(const std::filesystem::path& root, const std::string& kind,
                                  const std::string& boardId) {
  return root / kind / boardId;
}

}  // namespace vmx
