// The service's system on Linux: the terminal, the XDG folders, file modes.
#include <fcntl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>

#include "service/service_platform.h"

namespace vmx::service {

std::optional<std::string> ReadSecret(const std::string& prompt) {
  const bool terminal = isatty(STDIN_FILENO);
  termios saved{};
  if (terminal) {
    std::fprintf(stderr, "%s", prompt.c_str());
    tcgetattr(STDIN_FILENO, &saved);
    termios quiet = saved;
    quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
  }
  std::string line;
  const bool read = static_cast<bool>(std::getline(std::cin, line));
  if (terminal) {
    tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
    std::fprintf(stderr, "\n");
  }
  if (!read) return std::nullopt;
  if (line.ends_with('\r')) line.pop_back();
  return line;
}

std::filesystem::path DefaultDataFolder() {
  if (const char* state = std::getenv("XDG_STATE_HOME"); state && *state)
    return std::filesystem::path(state) / "velmarinex";
  if (const char* home = std::getenv("HOME"); home && *home)
    return std::filesystem::path(home) / ".local/state/velmarinex";
  return {};
}

std::string OpenToOthers(const std::string& path) {
  struct stat st {};
  if (stat(path.c_str(), &st) != 0) return {};  // reading it says why
  // A hash others can read can be attacked offline; one they can write lets them in.
  if (st.st_mode & (S_IRWXO | S_IWGRP))
    return path + " is open to other users; make it readable by its owner only (chmod 600)";
  return {};
}

std::string RestrictToOwner(const std::string& path) {
  if (chmod(path.c_str(), 0600) != 0) return std::strerror(errno);
  return {};
}

std::string WriteTokenFile(const std::string& token, const std::filesystem::path& data,
                           std::string& problem) {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  const std::filesystem::path folder =
      runtime && *runtime ? std::filesystem::path(runtime) / "velmarinex" : data;
  mkdir(folder.c_str(), 0700);
  struct stat st {};
  if (stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != geteuid()) {
    problem = "the token's folder " + folder.string() + " is missing or not ours";
    return {};
  }
  const std::string path = (folder / "token").string();
  unlink(path.c_str());  // an old file may carry wider rights
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0) {
    problem = path + " could not be written: " + std::strerror(errno);
    return {};
  }
  fchmod(fd, 0600);
  const std::string text = token + "\n";
  const bool written = write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
  close(fd);
  if (!written) {
    problem = path + " could not be written";
    return {};
  }
  return path;
}

void PrepareProcess() {
  std::signal(SIGPIPE, SIG_IGN);
}

}  // namespace vmx::service
