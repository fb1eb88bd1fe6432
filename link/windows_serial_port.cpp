#include "link/windows_serial_port.h"

#include <windows.h>

#include <algorithm>
#include <cwctype>

#include "platform/windows_text.h"

namespace vmx {
namespace {

using Clock = std::chrono::steady_clock;

// The driver ends a transfer at its timeout; this is only for one that does not.
constexpr DWORD kDriverGrace = 2000;

// Errors by which a port tells that its device has gone (a USB adapter pulled,
// a Bluetooth link dropped, the other end of a line closed).
bool DeviceGone(DWORD error) {
  switch (error) {
    case ERROR_BAD_COMMAND:
    case ERROR_GEN_FAILURE:
    case ERROR_NOT_READY:
    case ERROR_DEVICE_NOT_CONNECTED:
    case ERROR_DEVICE_REMOVED:
    case ERROR_INVALID_HANDLE:
    case ERROR_HANDLE_EOF:
    case ERROR_BROKEN_PIPE:
    case ERROR_ACCESS_DENIED:
      return true;
    default:
      return false;
  }
}

DWORD Milliseconds(std::chrono::milliseconds timeout) {
  return static_cast<DWORD>(std::clamp<long long>(timeout.count(), 0, 24LL * 3600 * 1000));
}

}  // namespace

std::unique_ptr<SerialPort> MakeSystemSerialPort() {
  return std::make_unique<WindowsSerialPort>();
}

WindowsSerialPort::WindowsSerialPort()
    : io_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)),
      interrupt_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

WindowsSerialPort::~WindowsSerialPort() {
  Close();
  if (io_) ::CloseHandle(io_);
  if (interrupt_) ::CloseHandle(interrupt_);
}

void WindowsSerialPort::Interrupt() {
  interrupted_ = true;
  ::SetEvent(interrupt_);
}

bool WindowsSerialPort::Claim(const std::string& device) {
  // Windows gives a port to one opener only, but not every driver does (nor
  // Wine): the window, the tool and the service agree among themselves too. A
  // semaphore and not a mutex, because any thread may close the port; the
  // system drops it with the last handle, so a crashed holder leaves none behind.
  std::wstring name = L"Velmarinex port " + WideText(device);
  for (wchar_t& c : name) c = (c == L'\\') ? L'/' : static_cast<wchar_t>(::towupper(c));
  HANDLE claim = ::CreateSemaphoreW(nullptr, 1, 1, (L"Global\\" + name).c_str());
  if (!claim) claim = ::CreateSemaphoreW(nullptr, 1, 1, (L"Local\\" + name).c_str());
  if (!claim) return true;  // nothing to agree on: the system's own rule stands
  if (::WaitForSingleObject(claim, 0) != WAIT_OBJECT_0) {
    ::CloseHandle(claim);
    return false;
  }
  claim_ = claim;
  return true;
}

void WindowsSerialPort::Release() {
  if (!claim_) return;
  ::ReleaseSemaphore(claim_, 1, nullptr);
  ::CloseHandle(claim_);
  claim_ = nullptr;
}

void WindowsSerialPort::Open(const std::string& name) {
  Close();
  name_ = name;
  // COM10 and up are reachable only through the device namespace; the short
  // names are too, so every port goes that way.
  const std::string device = name.starts_with("\\\\") ? name : "\\\\.\\" + name;
  if (!Claim(device)) throw SerialError(name + ": port in use");
  HANDLE h = ::CreateFileW(WideText(device).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                           OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    const DWORD error = ::GetLastError();
    // A port is never shared: denied means another program holds it.
    Release();
    if (error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION)
      throw SerialError(name + ": port in use");
    throw SerialError(name + ": " + WindowsErrorText(error));
  }
  auto refuse = [&](const char* what) {
    const DWORD error = ::GetLastError();
    ::CloseHandle(h);
    Release();
    throw SerialError(name + ": " + what + ": " + WindowsErrorText(error));
  };
  DCB dcb{};
  dcb.DCBlength = sizeof dcb;
  if (!::GetCommState(h, &dcb)) refuse("GetCommState");
  dcb.BaudRate = CBR_115200;
  dcb.ByteSize = 8;
  dcb.Parity = NOPARITY;
  dcb.StopBits = ONESTOPBIT;
  dcb.fBinary = TRUE;
  dcb.fParity = FALSE;
  // No flow control and the modem lines low, as the board's adapter expects.
  dcb.fOutxCtsFlow = FALSE;
  dcb.fOutxDsrFlow = FALSE;
  dcb.fDtrControl = DTR_CONTROL_DISABLE;
  dcb.fRtsControl = RTS_CONTROL_DISABLE;
  dcb.fDsrSensitivity = FALSE;
  dcb.fOutX = FALSE;
  dcb.fInX = FALSE;
  dcb.fErrorChar = FALSE;
  dcb.fNull = FALSE;
  dcb.fAbortOnError = FALSE;
  if (!::SetCommState(h, &dcb)) refuse("SetCommState");
  handle_ = h;
  timeoutsSet_ = false;
  try {
    UseTimeouts(0, 0);
  } catch (...) {
    Close();
    throw;
  }
  ::PurgeComm(h, PURGE_RXCLEAR | PURGE_TXCLEAR | PURGE_RXABORT | PURGE_TXABORT);
}

void WindowsSerialPort::Close() {
  if (handle_) {
    ::CloseHandle(handle_);
    handle_ = nullptr;
  }
  Release();
}

void WindowsSerialPort::RequireOpen() const {
  if (!handle_) throw SerialError(name_ + ": port not open");
  if (interrupted_) throw SerialError(name_ + ": interrupted");
}

void WindowsSerialPort::Fail(const std::string& what, uint32_t error) {
  if (DeviceGone(error)) Vanished();
  throw SerialError(name_ + ": " + what + ": " + WindowsErrorText(error));
}

void WindowsSerialPort::Vanished() {
  Close();
  throw SerialError(name_ + ": device disconnected");
}

void WindowsSerialPort::UseTimeouts(uint32_t readMs, uint32_t writeMs) {
  if (timeoutsSet_ && readMs == readMs_ && writeMs == writeMs_) return;
  // Whole-transfer deadlines: a read ends when the buffer is full or its time
  // is up. A zero read time means "what is there now", not "wait forever".
  COMMTIMEOUTS t{};
  t.ReadIntervalTimeout = readMs == 0 ? MAXDWORD : 0;
  t.ReadTotalTimeoutConstant = readMs;
  t.WriteTotalTimeoutConstant = std::max<uint32_t>(writeMs, 1);
  if (!::SetCommTimeouts(handle_, &t)) Fail("SetCommTimeouts", ::GetLastError());
  readMs_ = readMs;
  writeMs_ = writeMs;
  timeoutsSet_ = true;
}

size_t WindowsSerialPort::Transfer(bool write, void* data, size_t size,
                                   std::chrono::milliseconds timeout) {
  const DWORD ms = Milliseconds(timeout);
  const DWORD count = static_cast<DWORD>(std::min<size_t>(size, MAXDWORD));
  OVERLAPPED ov{};
  ov.hEvent = io_;
  ::ResetEvent(io_);
  const BOOL started = write ? ::WriteFile(handle_, data, count, nullptr, &ov)
                             : ::ReadFile(handle_, data, count, nullptr, &ov);
  if (!started && ::GetLastError() != ERROR_IO_PENDING)
    Fail(write ? "write" : "read", ::GetLastError());
  HANDLE events[2] = {io_, interrupt_};
  const DWORD woke = ::WaitForMultipleObjects(2, events, FALSE, ms + kDriverGrace);
  if (woke != WAIT_OBJECT_0) ::CancelIoEx(handle_, &ov);
  DWORD moved = 0;
  const BOOL done = ::GetOverlappedResult(handle_, &ov, &moved, TRUE);
  const DWORD error = done ? ERROR_SUCCESS : ::GetLastError();
  if (woke == WAIT_OBJECT_0 + 1 || interrupted_) throw SerialError(name_ + ": interrupted");
  // A transfer the driver ended at its timeout is no failure: it moved what it could.
  if (!done && error != ERROR_OPERATION_ABORTED && error != ERROR_TIMEOUT &&
      error != ERROR_SEM_TIMEOUT)
    Fail(write ? "write" : "read", error);
  return moved;
}

void WindowsSerialPort::Purge() {
  RequireOpen();
  if (!::PurgeComm(handle_, PURGE_RXCLEAR | PURGE_TXCLEAR)) Fail("purge", ::GetLastError());
}

void WindowsSerialPort::Write(std::span<const uint8_t> data, std::chrono::milliseconds timeout) {
  RequireOpen();
  const auto deadline = Clock::now() + timeout;
  auto left = timeout;  // the whole time at first, so the timeouts in force usually fit
  size_t done = 0;
  while (done < data.size()) {
    if (left.count() <= 0) throw SerialError(name_ + ": write timeout");
    UseTimeouts(readMs_, Milliseconds(left));
    done += Transfer(true, const_cast<uint8_t*>(data.data() + done), data.size() - done, left);
    left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
  }
}

size_t WindowsSerialPort::Read(std::span<uint8_t> buffer, std::chrono::milliseconds timeout) {
  RequireOpen();
  const auto begun = Clock::now();
  UseTimeouts(Milliseconds(timeout), writeMs_);
  const size_t got = Transfer(false, buffer.data(), buffer.size(), timeout);
  // With whole-transfer deadlines a read ends short only at its deadline. One
  // that ends short at once read the end of the line: the device has gone.
  if (got < buffer.size() && timeout.count() > 0 && Clock::now() - begun < timeout / 2) Vanished();
  return got;
}

}  // namespace vmx
