// SerialPort on a POSIX terminal device (termios).
#pragma once

#include <atomic>

#include "link/serial_port.h"

namespace vmx {

class PosixSerialPort final : public SerialPort {
 public:
  PosixSerialPort();
  ~PosixSerialPort() override;
  PosixSerialPort(const PosixSerialPort&) = delete;
  PosixSerialPort& operator=(const PosixSerialPort&) = delete;

  void Open(const std::string& name) override;
  void Close() override;
  bool IsOpen() const override { return fd_ >= 0; }
  const std::string& Name() const override { return name_; }
  void Purge() override;
  void Write(std::span<const uint8_t> data, std::chrono::milliseconds timeout) override;
  size_t Read(std::span<uint8_t> buffer, std::chrono::milliseconds timeout) override;
  void Interrupt() override;

 private:
  [[noreturn]] void Fail(const std::string& what, int err);
  [[noreturn]] void Vanished();
  void RequireOpen() const;
  // Waits up to `ms` for `events` on the port; throws when interrupted or gone.
  void Wait(short events, int ms);

  int fd_ = -1;
  int interrupt_ = -1;  // eventfd, readable once Interrupt was called
  std::atomic<bool> interrupted_{false};
  std::string name_;
};

}  // namespace vmx
