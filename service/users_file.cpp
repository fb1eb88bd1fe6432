#include "service/users_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

namespace vmx::service {

std::optional<Users> LoadUsers(const std::string& path, std::string& problem) {
  struct stat st {};
  if (stat(path.c_str(), &st) != 0) {
    problem = path + " could not be read: " + std::strerror(errno);
    return std::nullopt;
  }
  // A hash others can read can be attacked offline; one they can write lets them in.
  if (st.st_mode & (S_IRWXO | S_IWGRP)) {
    problem = path + " is open to other users; make it readable by its owner only (chmod 600)";
    return std::nullopt;
  }
  std::ifstream in(path);
  if (!in) {
    problem = path + " could not be read";
    return std::nullopt;
  }
  Users users;
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    if (line.ends_with('\r')) line.pop_back();
    if (line.empty() || line.starts_with('#')) continue;
    const size_t colon = line.find(':');
    if (colon == 0 || colon == std::string::npos || colon + 1 == line.size()) {
      problem = path + " line " + std::to_string(number) + " is no name:hash line";
      return std::nullopt;
    }
    users[line.substr(0, colon)] = line.substr(colon + 1);
  }
  return users;
}

bool StoreUser(const std::string& path, const std::string& name, const std::string& hash,
               std::string& problem) {
  std::string kept;
  if (std::ifstream in(path); in) {
    std::string line;
    while (std::getline(in, line))
      if (!line.starts_with(name + ":")) kept += line + "\n";
  }
  kept += name + ":" + hash + "\n";
  // Written beside the file and renamed over it, so a failure leaves the old one.
  const std::string temporary = path + ".new";
  const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (fd < 0) {
    problem = temporary + " could not be written: " + std::strerror(errno);
    return false;
  }
  fchmod(fd, 0600);
  const bool written = write(fd, kept.data(), kept.size()) == static_cast<ssize_t>(kept.size()) &&
                       fsync(fd) == 0;
  close(fd);
  if (!written || rename(temporary.c_str(), path.c_str()) != 0) {
    problem = path + " could not be written: " + std::strerror(errno);
    unlink(temporary.c_str());
    return false;
  }
  return true;
}

}  // namespace vmx::service
