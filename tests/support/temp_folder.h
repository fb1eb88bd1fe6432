// Folders of a test's own under the system's temporary folder, made and
// removed through std::filesystem: no shell, no fixed names.
#pragma once

#include <atomic>
#include <chrono>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

namespace vmx::testing {

// A new empty folder; tests running at the same time never get the same one.
inline std::filesystem::path MakeTempFolder(const std::string& stem) {
  static std::atomic<unsigned> serial{0};
  const auto tick = std::chrono::steady_clock::now().time_since_epoch().count();
  const std::filesystem::path base = std::filesystem::temp_directory_path();
  for (;;) {
    const std::filesystem::path folder =
        base / (stem + "-" + std::to_string(tick) + "-" + std::to_string(serial++));
    if (std::filesystem::create_directory(folder)) return folder;
  }
}

// Such a folder that goes away, with everything in it, when the object goes.
class TempFolder {
 public:
  explicit TempFolder(const std::string& stem = "vmx-test") : path_(MakeTempFolder(stem)) {}
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::string str() const { return path_.string(); }
  // A name inside it, as a program is given it.
  std::string operator/(std::string_view name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

}  // namespace vmx::testing
