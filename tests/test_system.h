// What a test needs of the system around the code it checks, the same on
// Linux and on Windows: environment variables and a folder of its own.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace vmx::testing {

inline void SetEnvironment(const char* name, const char* value) {
#ifdef _WIN32
  _putenv_s(name, value);
#else
  setenv(name, value, 1);
#endif
}

inline void UnsetEnvironment(const char* name) {
#ifdef _WIN32
  _putenv_s(name, "");  // an empty value removes the variable there
#else
  unsetenv(name);
#endif
}

// A new empty folder under the system's temporary folder; tests running at the
// same time never get the same one.
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

}  // namespace vmx::testing
