#include "persist/text_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "lang/catalogue.h"

namespace vmx {
namespace {

std::string SystemError(int error) {
  return std::strerror(error);
}

// Closes the descriptor on every way out.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int Get() const { return fd_; }
  // Closes now; false when the close reports an error (data may be lost).
  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

 private:
  int fd_;
};

bool WriteAll(int fd, std::string_view text) {
  while (!text.empty()) {
    const ssize_t n = ::write(fd, text.data(), text.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    text.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

// The file a path names: the target of a symbolic link, else the path itself.
std::string TargetOf(const std::string& path) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
  char resolved[PATH_MAX];
  if (::realpath(path.c_str(), resolved)) return resolved;
  return path;  // a dangling link: the new file takes the link's place
}

std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

void SyncFolder(const std::string& folder) {
  // The rename itself must reach the disk too; where the folder cannot be
  // opened for that, the file is still whole under one of its two names.
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

FileRead ReadTextFile(const std::string& path, size_t limit) {
  FileRead result;
  // Not blocking: a named pipe chosen by mistake must not hang the program.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    result.status = errno == ENOENT ? FileRead::Status::Missing : FileRead::Status::Failed;
    result.error = SystemError(errno);
    return result;
  }
  Descriptor file(fd);
  struct stat st {};
  if (::fstat(fd, &st) != 0) {
    result.error = SystemError(errno);
    return result;
  }
  if (!S_ISREG(st.st_mode)) {
    result.error = SystemError(S_ISDIR(st.st_mode) ? EISDIR : EINVAL);
    return result;
  }
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      result.error = SystemError(errno);
      return result;
    }
    if (n == 0) break;
    if (result.text.size() + static_cast<size_t>(n) > limit) {
      result.text.clear();
      result.error = LangText("FileTooLarge");
      return result;
    }
    result.text.append(buffer, static_cast<size_t>(n));
  }
  result.status = FileRead::Status::Read;
  return result;
}

std::string ReplaceFile(const std::string& path, std::string_view text, bool durable) {
  static std::atomic<unsigned> serial{0};
  const std::string target = TargetOf(path);
  struct stat old {};
  const bool replacing = ::stat(target.c_str(), &old) == 0;
  if (replacing && !S_ISREG(old.st_mode)) return SystemError(EISDIR);

  std::string temporary;
  int fd = -1;
  for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
    temporary = target + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(serial++);
    fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) return SystemError(errno);
  }
  if (fd < 0) return SystemError(EEXIST);
  Descriptor file(fd);

  int error = 0;
  if (!WriteAll(fd, text))
    error = errno;
  else if (replacing && ::fchmod(fd, old.st_mode & 07777) != 0)
    error = errno;
  else if (durable && ::fsync(fd) != 0)
    error = errno;
  else if (!file.Close())
    error = errno;
  else if (::rename(temporary.c_str(), target.c_str()) != 0)
    error = errno;
  if (error != 0) {
    ::unlink(temporary.c_str());
    return SystemError(error);
  }
  if (durable) SyncFolder(FolderOf(target));
  return {};
}

std::string AppendLine(const std::string& path, std::string_view line) {
  const int fd = ::open(path.c_str(), O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) return SystemError(errno);
  Descriptor file(fd);
  bool lineCut = false;
  const off_t size = ::lseek(fd, 0, SEEK_END);
  if (size > 0) {
    char last = '\n';
    lineCut = ::pread(fd, &last, 1, size - 1) == 1 && last != '\n';
  }
  std::string text;
  text.reserve(line.size() + 1);
  if (lineCut) text.push_back('\n');
  text.append(line);
  const ssize_t n = ::write(fd, text.data(), text.size());
  const int error = n == static_cast<ssize_t>(text.size()) ? 0 : (n < 0 ? errno : EIO);
  if (!file.Close() && error == 0) return SystemError(errno);
  return error ? SystemError(error) : std::string();
}

}  // namespace vmx
