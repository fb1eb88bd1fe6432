// The board's ASCII-hex transactions: a Get sends a command and receives the
// echoed command with a record; a Set sends a command with a record and
// receives one acknowledgement byte.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "link/serial_port.h"

namespace vmx {

// The record being sent or received: the echoed command code, then the payload.
struct TransferBuffer {
  uint8_t echo = 0;
  std::array<uint8_t, 132> payload{};
};

class WireProtocol {
 public:
  using LogFn = std::function<void(const std::string&)>;
  static constexpr std::chrono::milliseconds kDefaultTimeout{5000};

  WireProtocol(SerialPort& port, LogFn log,
               std::chrono::milliseconds timeout = kDefaultTimeout);

  void SetDebug(bool on) { debug_ = on; }
  bool Debug() const { return debug_; }

  // Sends the two-character command and receives echo + `length` payload bytes
  // into the buffer. A reply of nothing at all logs "No data." and closes the port.
  bool Get(std::string_view command, size_t length);
  // Sends the command with `payload` as upper-case hex; succeeds on any one byte back.
  bool Set(std::string_view command, std::span<const uint8_t> payload);
  // "7F00" and a line feed, nothing read back: the board restarts into its bootloader.
  void StartBootloader();

  TransferBuffer& Buffer() { return buffer_; }
  std::span<const uint8_t> Payload(size_t length) const {
    return std::span<const uint8_t>(buffer_.payload).first(length);
  }

 private:
  void Trace(std::string_view direction, std::string_view text,
             std::chrono::steady_clock::time_point since);
  bool Decode(std::span<const uint8_t> received, size_t length);

  SerialPort& port_;
  LogFn log_;
  std::chrono::milliseconds timeout_;
  bool debug_ = false;
  TransferBuffer buffer_;
};

}  // namespace vmx
