// The serial port as the link worker sees it. Every failure is thrown as a
// SerialError whose text goes to the message log.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>

namespace vmx {

class SerialError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Opening failed because this user may not use the device. Unlike a busy or
// missing port, no retry helps; the user has to be let in (see AccessHint).
class SerialAccessDenied : public SerialError {
 public:
  using SerialError::SerialError;
};

class SerialPort {
 public:
  virtual ~SerialPort() = default;

  // Opens `name` at 115200 8N1 without flow control or modem lines. Throws on failure.
  virtual void Open(const std::string& name) = 0;
  virtual void Close() = 0;
  virtual bool IsOpen() const = 0;
  // The name given to the last Open, kept after Close.
  virtual const std::string& Name() const = 0;
  // Drops whatever waits in the receive and transmit buffers.
  virtual void Purge() = 0;
  // Writes all of `data` within `timeout`.
  virtual void Write(std::span<const uint8_t> data, std::chrono::milliseconds timeout) = 0;
  // Reads until `buffer` is full or `timeout` has passed since the call began;
  // returns the number of bytes read. A vanished device closes the port and throws.
  virtual size_t Read(std::span<uint8_t> buffer, std::chrono::milliseconds timeout) = 0;
  // Callable from any thread: a read or write under way, and every one after it,
  // fails at once. Used when the program is closing, so it need not wait out a timeout.
  virtual void Interrupt() = 0;
};

// This system's serial port: termios, or the Windows communications API.
std::unique_ptr<SerialPort> MakeSystemSerialPort();

}  // namespace vmx
