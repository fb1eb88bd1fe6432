// The service's system on Windows: the console, %LOCALAPPDATA%\Velmarinex.
#include <windows.h>
// The system's ReplaceFile is a macro for ReplaceFileW; ours is the one meant here.
#undef ReplaceFile

#include <cstdio>
#include <iostream>

#include "persist/data_root.h"
#include "persist/text_file.h"
#include "platform/windows_text.h"
#include "service/service_platform.h"

namespace vmx::service {

std::optional<std::string> ReadSecret(const std::string& prompt) {
  const HANDLE input = ::GetStdHandle(STD_INPUT_HANDLE);
  DWORD saved = 0;
  const bool console = ::GetConsoleMode(input, &saved) != 0;
  if (console) {
    std::fprintf(stderr, "%s", prompt.c_str());
    std::fflush(stderr);
    ::SetConsoleMode(input, saved & ~static_cast<DWORD>(ENABLE_ECHO_INPUT));
  }
  std::string line;
  bool read = false;
  if (console) {
    // The console hands out UTF-16; the program keeps UTF-8.
    wchar_t buffer[512];
    DWORD got = 0;
    std::wstring wide;
    while (::ReadConsoleW(input, buffer, 512, &got, nullptr) && got > 0) {
      read = true;
      wide.append(buffer, got);
      if (wide.back() == L'\n') break;
    }
    while (!wide.empty() && (wide.back() == L'\n' || wide.back() == L'\r')) wide.pop_back();
    line = Utf8Text(wide);
    ::SetConsoleMode(input, saved);
    std::fprintf(stderr, "\n");
  } else {
    read = static_cast<bool>(std::getline(std::cin, line));
    if (line.ends_with('\r')) line.pop_back();
  }
  if (!read) return std::nullopt;
  return line;
}

std::filesystem::path DefaultDataFolder() {
  return UserDataRoot();
}

// A users file lives in the keeper's own profile, which Windows keeps from
// other users; its access list is not second-guessed here.
std::string OpenToOthers(const std::string&) {
  return {};
}

std::string RestrictToOwner(const std::string&) {
  return {};
}

std::string WriteTokenFile(const std::string& token, const std::filesystem::path& data,
                           std::string& problem) {
  // The data folder is under the user's profile unless --data says otherwise.
  const std::u8string name = (data / "token").u8string();
  const std::string path(name.begin(), name.end());
  if (const std::string why = ReplaceFile(path, token + "\r\n"); !why.empty()) {
    problem = path + " could not be written: " + why;
    return {};
  }
  return path;
}

void PrepareProcess() {}

}  // namespace vmx::service
