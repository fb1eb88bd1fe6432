#include "sim/pty_server.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace vmx::sim {
namespace {

using Clock = std::chrono::steady_clock;
constexpr size_t kMaxLine = 1024;  // longer garbage is dropped, not hoarded

[[noreturn]] void Throw(const std::string& what) {
  throw std::runtime_error(what + ": " + std::strerror(errno));
}

void WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return;  // the client side is gone; the board just talks into the void
    }
    bytes.remove_prefix(static_cast<size_t>(n));
  }
}

}  // namespace

PtyServer::PtyServer(SimBoard& board, std::string linkPath)
    : board_(board), linkPath_(std::move(linkPath)) {}

PtyServer::~PtyServer() { Stop(); }

void PtyServer::SetTrafficObserver(TrafficFn fn) {
  std::lock_guard g(trafficLock_);
  traffic_ = std::move(fn);
}

void PtyServer::Notify(Direction d, std::string_view bytes) {
  std::lock_guard g(trafficLock_);
  if (traffic_) traffic_(d, bytes);
}

void PtyServer::OpenPty() {
  const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (master < 0) Throw("posix_openpt");
  if (::grantpt(master) != 0 || ::unlockpt(master) != 0) {
    ::close(master);
    Throw("grantpt");
  }
  std::array<char, 128> name{};
  if (::ptsname_r(master, name.data(), name.size()) != 0) {
    ::close(master);
    Throw("ptsname");
  }
  const int slave = ::open(name.data(), O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (slave < 0) {
    ::close(master);
    Throw("open pty");
  }
  // A serial line carries bytes as they are: no echo, no line editing, no CR/LF mapping.
  termios tio{};
  if (::tcgetattr(slave, &tio) == 0) {
    ::cfmakeraw(&tio);
    ::tcsetattr(slave, TCSANOW, &tio);
  }
  std::lock_guard g(lock_);
  master_ = master;
  slave_ = slave;
  devicePath_ = name.data();
  if (!linkPath_.empty()) {
    const std::string tmp = linkPath_ + ".new";
    ::unlink(tmp.c_str());
    if (::symlink(devicePath_.c_str(), tmp.c_str()) != 0 ||
        ::rename(tmp.c_str(), linkPath_.c_str()) != 0)
      Throw("link " + linkPath_);
  }
}

void PtyServer::ClosePty() {
  std::lock_guard g(lock_);
  if (!linkPath_.empty()) ::unlink(linkPath_.c_str());
  if (slave_ >= 0) ::close(slave_);
  if (master_ >= 0) ::close(master_);
  slave_ = master_ = -1;
}

void PtyServer::Start() {
  if (thread_.joinable()) return;
  if (::pipe2(wake_, O_CLOEXEC | O_NONBLOCK) != 0) Throw("pipe");
  OpenPty();
  stop_ = false;
  thread_ = std::thread([this] { Run(); });
}

void PtyServer::Stop() {
  if (thread_.joinable()) {
    stop_ = true;
    const char c = 's';
    [[maybe_unused]] auto n = ::write(wake_[1], &c, 1);
    thread_.join();
  }
  ClosePty();
  for (int& fd : wake_)
    if (fd >= 0) {
      ::close(fd);
      fd = -1;
    }
}

std::string PtyServer::DevicePath() const {
  std::lock_guard g(lock_);
  return devicePath_;
}

std::string PtyServer::PortPath() const {
  std::lock_guard g(lock_);
  return linkPath_.empty() ? devicePath_ : linkPath_;
}

void PtyServer::HangUp(std::chrono::milliseconds backAfter) {
  ClosePty();
  std::lock_guard g(lock_);
  reopenPending_ = backAfter.count() >= 0;
  reopenAt_ = Clock::now() + backAfter;
  const char c = 'h';
  [[maybe_unused]] auto n = ::write(wake_[1], &c, 1);
}

bool PtyServer::ServeLine(const std::string& line, Clock::time_point begun) {
  Notify(Direction::In, line);
  const Reply reply = board_.Handle(line);
  if (const int baud = baud_; baud > 0) {
    // Ten bit times a byte: the line with its terminator, then the reply.
    const auto bytes = static_cast<double>(line.size() + 1 + reply.bytes.size());
    const auto onLine = std::chrono::duration_cast<Clock::duration>(
        std::chrono::duration<double>(bytes * 10.0 / baud));
    const auto done = std::max(begun, lineFree_) + onLine;
    std::this_thread::sleep_until(done);
    lineFree_ = done;
  }
  if (reply.delay.count() > 0) {
    const auto until = Clock::now() + reply.delay;
    while (!stop_ && Clock::now() < until) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  if (reply.hangUp) {
    HangUp(downtime_);
    return false;
  }
  if (reply.bytes.empty()) return true;
  int fd;
  {
    std::lock_guard g(lock_);
    fd = master_;
  }
  if (fd < 0) return false;
  // Observed as it leaves: the PC may answer before this thread looks again.
  Notify(Direction::Out, reply.bytes);
  WriteAll(fd, reply.bytes);
  return true;
}

void PtyServer::Run() {
  // A paced line sleeps to the microsecond; the default slack of 50 us a sleep
  // would add up over a firmware transfer.
  ::prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
  std::string pending;
  Clock::time_point lineBegun{};
  while (!stop_) {
    bool reopen = false;
    int timeout = -1;  // nothing due: sleep until the PC writes or we are woken
    {
      std::lock_guard g(lock_);
      reopen = reopenPending_ && Clock::now() >= reopenAt_;
      if (reopen) reopenPending_ = false;
      if (reopenPending_) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(reopenAt_ - Clock::now());
        timeout = static_cast<int>(std::clamp<long long>(left.count() + 1, 1, 1000));
      }
    }
    if (reopen) {
      try {
        OpenPty();
      } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
      }
    }
    int fd;
    {
      std::lock_guard g(lock_);
      fd = master_;
    }
    if (fd < 0) pending.clear();
    std::array<pollfd, 2> fds{{{wake_[0], POLLIN, 0}, {fd, POLLIN, 0}}};
    const int r = ::poll(fds.data(), fd >= 0 ? 2 : 1, timeout);
    if (r <= 0) continue;
    if (fds[0].revents & POLLIN) {
      char buf[16];
      while (::read(wake_[0], buf, sizeof buf) > 0) {
      }
      continue;  // the descriptors may have changed
    }
    if (!(fds[1].revents & (POLLIN | POLLHUP))) continue;
    std::array<char, 512> buf{};
    const ssize_t n = ::read(fd, buf.data(), buf.size());
    if (n <= 0) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
      continue;
    }
    const auto readAt = Clock::now();
    for (ssize_t i = 0; i < n; ++i) {
      const char c = buf[i];
      if (pending.empty()) lineBegun = readAt;
      if (c == '\n' || c == '\r') {
        if (!pending.empty() && !ServeLine(pending, lineBegun)) {
          pending.clear();
          break;  // hung up: what followed went with the device
        }
        pending.clear();
      } else if (pending.size() < kMaxLine) {
        pending += c;
      }
    }
  }
}

}  // namespace vmx::sim
