#include "link/posix_serial_port.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace vmx {
namespace {

using Clock = std::chrono::steady_clock;

std::string ErrorText(int err) { return std::strerror(err); }

int RemainingMs(Clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
  return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

}  // namespace

std::unique_ptr<SerialPort> MakeSystemSerialPort() { return std::make_unique<PosixSerialPort>(); }

PosixSerialPort::PosixSerialPort() : interrupt_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

PosixSerialPort::~PosixSerialPort() {
  Close();
  if (interrupt_ >= 0) ::close(interrupt_);
}

void PosixSerialPort::Interrupt() {
  interrupted_ = true;
  const uint64_t one = 1;
  [[maybe_unused]] auto n = ::write(interrupt_, &one, sizeof one);
}

void PosixSerialPort::Wait(short events, int ms) {
  pollfd p[2] = {{fd_, events, 0}, {interrupt_, POLLIN, 0}};
  const int r = ::poll(p, interrupt_ >= 0 ? 2 : 1, ms);
  if (r < 0 && errno != EINTR) Fail("poll", errno);
  if (interrupted_) throw SerialError(name_ + ": interrupted");
  if (r > 0 && (p[0].revents & (POLLHUP | POLLERR | POLLNVAL)) && !(p[0].revents & events))
    Vanished();
}

void PosixSerialPort::Open(const std::string& name) {
  Close();
  name_ = name;
  const int fd = ::open(name.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    const int err = errno;
    if (err == EACCES || err == EPERM) throw SerialAccessDenied(name + ": " + ErrorText(err));
    throw SerialError(name + ": " + ErrorText(err));
  }
  // Another program talking to the same board would garble both conversations.
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const int err = errno;
    ::close(fd);
    throw SerialError(name + ": " + (err == EWOULDBLOCK ? "port in use" : ErrorText(err)));
  }
  termios tio{};
  if (::tcgetattr(fd, &tio) != 0) {
    const int err = errno;
    ::close(fd);
    throw SerialError(name + ": " + ErrorText(err));
  }
  ::cfmakeraw(&tio);
  tio.c_cflag &= ~(CSTOPB | PARENB | CRTSCTS | CSIZE);
  tio.c_cflag |= CS8 | CLOCAL | CREAD;
  tio.c_iflag &= ~(IXON | IXOFF | IXANY);
  // VMIN 1 makes an empty non-blocking read answer EAGAIN, so that 0 can only
  // mean end of file: a hung-up device.
  tio.c_cc[VMIN] = 1;
  tio.c_cc[VTIME] = 0;
  ::cfsetispeed(&tio, B115200);
  ::cfsetospeed(&tio, B115200);
  if (::tcsetattr(fd, TCSANOW, &tio) != 0) {
    const int err = errno;
    ::close(fd);
    throw SerialError(name + ": " + ErrorText(err));
  }
  // DTR and RTS off. A pseudo-terminal has no modem lines and says so; that is fine.
  int lines = TIOCM_DTR | TIOCM_RTS;
  if (::ioctl(fd, TIOCMBIC, &lines) != 0 && errno != ENOTTY && errno != EINVAL) {
    const int err = errno;
    ::close(fd);
    throw SerialError(name + ": " + ErrorText(err));
  }
  fd_ = fd;
  ::tcflush(fd_, TCIOFLUSH);
}

void PosixSerialPort::Close() {
  if (fd_ >= 0) {
    ::close(fd_);
    fd_ = -1;
  }
}

void PosixSerialPort::RequireOpen() const {
  if (fd_ < 0) throw SerialError(name_ + ": port not open");
  if (interrupted_) throw SerialError(name_ + ": interrupted");
}

void PosixSerialPort::Fail(const std::string& what, int err) {
  if (err == EIO || err == ENXIO || err == ENODEV) Vanished();
  throw SerialError(name_ + ": " + what + ": " + ErrorText(err));
}

void PosixSerialPort::Vanished() {
  Close();
  throw SerialError(name_ + ": device disconnected");
}

void PosixSerialPort::Purge() {
  RequireOpen();
  if (::tcflush(fd_, TCIOFLUSH) != 0) Fail("purge", errno);
}

void PosixSerialPort::Write(std::span<const uint8_t> data, std::chrono::milliseconds timeout) {
  RequireOpen();
  const auto deadline = Clock::now() + timeout;
  size_t done = 0;
  while (done < data.size()) {
    const ssize_t n = ::write(fd_, data.data() + done, data.size() - done);
    if (n > 0) {
      done += static_cast<size_t>(n);
      continue;
    }
    if (n < 0 && errno != EAGAIN && errno != EINTR) Fail("write", errno);
    const int left = RemainingMs(deadline);
    if (left == 0) throw SerialError(name_ + ": write timeout");
    Wait(POLLOUT, left);
  }
}

size_t PosixSerialPort::Read(std::span<uint8_t> buffer, std::chrono::milliseconds timeout) {
  RequireOpen();
  const auto deadline = Clock::now() + timeout;
  size_t got = 0;
  while (got < buffer.size()) {
    const ssize_t n = ::read(fd_, buffer.data() + got, buffer.size() - got);
    if (n > 0) {
      got += static_cast<size_t>(n);
      continue;
    }
    if (n == 0) Vanished();  // end of file: the device is gone
    if (errno != EAGAIN && errno != EINTR) Fail("read", errno);
    const int left = RemainingMs(deadline);
    if (left == 0) break;
    Wait(POLLIN, left);
  }
  return got;
}

}  // namespace vmx
