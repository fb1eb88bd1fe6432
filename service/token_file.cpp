#include "service/token_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace vmx::service {

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

}  // namespace vmx::service
