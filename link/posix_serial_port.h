// SerialPort on a POSIX terminal device (termios).
#pragma once

#include "link/serial_port.h"

namespace vmx {

class PosixSerialPort final : public SerialPort {
 public:
  PosixSerialPort() = default;
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

 private:
  [[noreturn]] void Fail(const std::string& what, int err);
  [[noreturn]] void Vanished();
  void RequireOpen() const;

  int fd_ = -1;
  std::string name_;
};

}  // namespace vmx
