// SerialPort on the Windows communications API: the port opened for
// overlapped I/O, so a wait can be cut short from another thread.
#pragma once

#include <atomic>
#include <cstdint>

#include "link/serial_port.h"

namespace vmx {

class WindowsSerialPort final : public SerialPort {
 public:
  WindowsSerialPort();
  ~WindowsSerialPort() override;
  WindowsSerialPort(const WindowsSerialPort&) = delete;
  WindowsSerialPort& operator=(const WindowsSerialPort&) = delete;

  // `name` as PortFromArgument gives it (COM7), or a full device path (\\.\CNCA0).
  void Open(const std::string& name) override;
  void Close() override;
  bool IsOpen() const override { return handle_ != nullptr; }
  const std::string& Name() const override { return name_; }
  void Purge() override;
  void Write(std::span<const uint8_t> data, std::chrono::milliseconds timeout) override;
  size_t Read(std::span<uint8_t> buffer, std::chrono::milliseconds timeout) override;
  void Interrupt() override;

 private:
  [[noreturn]] void Fail(const std::string& what, uint32_t error);
  [[noreturn]] void Vanished();
  void RequireOpen() const;
  // Takes the port for this program; false when another one of ours holds it.
  bool Claim(const std::string& device);
  void Release();
  // Sets the port's timeouts when they differ from the ones in force.
  void UseTimeouts(uint32_t readMs, uint32_t writeMs);
  // Runs one overlapped ReadFile or WriteFile to its end; the bytes moved.
  size_t Transfer(bool write, void* data, size_t size, std::chrono::milliseconds timeout);

  void* handle_ = nullptr;     // the port, nullptr when closed
  void* io_ = nullptr;         // event of the transfer under way
  void* interrupt_ = nullptr;  // event, set once Interrupt was called
  void* claim_ = nullptr;      // the port's semaphore while this object holds the port
  std::atomic<bool> interrupted_{false};
  uint32_t readMs_ = 0, writeMs_ = 0;
  bool timeoutsSet_ = false;
  std::string name_;
};

}  // namespace vmx
