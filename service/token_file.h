// The loopback token's file: $XDG_RUNTIME_DIR/velmarinex/token (else in the
// data folder), in a folder only the user may enter, readable by the user only.
#pragma once

#include <filesystem>
#include <string>

namespace vmx::service {

// The file's path, or empty (and `problem`) when it cannot be written.
std::string WriteTokenFile(const std::string& token, const std::filesystem::path& data,
                           std::string& problem);

}  // namespace vmx::service
