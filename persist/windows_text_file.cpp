#include <windows.h>
// The system's ReplaceFile is a macro for ReplaceFileW; ours is the one meant here.
#undef ReplaceFile

#include <algorithm>
#include <atomic>
#include <cstdint>

#include "lang/catalogue.h"
#include "persist/text_file.h"
#include "platform/windows_text.h"

namespace vmx {
namespace {

// Closes the handle on every way out.
class Handle {
 public:
  explicit Handle(HANDLE h) : h_(h) {}
  ~Handle() {
    if (h_ != INVALID_HANDLE_VALUE) ::CloseHandle(h_);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  HANDLE Get() const { return h_; }
  // Closes now; false when the close reports an error (data may be lost).
  bool Close() {
    if (h_ == INVALID_HANDLE_VALUE) return true;
    const HANDLE h = h_;
    h_ = INVALID_HANDLE_VALUE;
    return ::CloseHandle(h) != 0;
  }

 private:
  HANDLE h_;
};

bool WriteAll(HANDLE h, std::string_view text) {
  while (!text.empty()) {
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(text.size(), 1u << 20));
    DWORD n = 0;
    if (!::WriteFile(h, text.data(), chunk, &n, nullptr) || n == 0) return false;
    text.remove_prefix(n);
  }
  return true;
}

constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                  FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

}  // namespace

FileRead ReadTextFile(const std::string& path, size_t limit) {
  FileRead result;
  // Shared for every kind of access: an editor holding the file open must not
  // make a settings file unreadable.
  Handle file(::CreateFileW(WideText(path).c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (file.Get() == INVALID_HANDLE_VALUE) {
    const DWORD error = ::GetLastError();
    const bool missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    result.status = missing ? FileRead::Status::Missing : FileRead::Status::Failed;
    result.error = WindowsErrorText(error);
    return result;
  }
  // A pipe or a console chosen by mistake must not hang the program.
  if (::GetFileType(file.Get()) != FILE_TYPE_DISK) {
    result.error = WindowsErrorText(ERROR_INVALID_FUNCTION);
    return result;
  }
  char buffer[65536];
  for (;;) {
    DWORD n = 0;
    if (!::ReadFile(file.Get(), buffer, sizeof buffer, &n, nullptr)) {
      result.error = WindowsErrorText(::GetLastError());
      return result;
    }
    if (n == 0) break;
    if (result.text.size() + n > limit) {
      result.text.clear();
      result.error = LangText("FileTooLarge");
      return result;
    }
    result.text.append(buffer, n);
  }
  result.status = FileRead::Status::Read;
  return result;
}

std::string ReplaceFile(const std::string& path, std::string_view text, bool durable) {
  static std::atomic<unsigned> serial{0};
  const std::wstring target = WideText(path);
  const DWORD attributes = ::GetFileAttributesW(target.c_str());
  const bool replacing = attributes != INVALID_FILE_ATTRIBUTES;
  if (replacing && (attributes & FILE_ATTRIBUTE_DIRECTORY))
    return WindowsErrorText(ERROR_ACCESS_DENIED);

  std::wstring temporary;
  HANDLE h = INVALID_HANDLE_VALUE;
  for (int attempt = 0; h == INVALID_HANDLE_VALUE && attempt < 100; ++attempt) {
    temporary = target + L".tmp-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                std::to_wstring(serial++);
    h = ::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE && ::GetLastError() != ERROR_FILE_EXISTS)
      return WindowsErrorText(::GetLastError());
  }
  if (h == INVALID_HANDLE_VALUE) return WindowsErrorText(ERROR_FILE_EXISTS);
  Handle file(h);

  // The system's reason, or a write fault where a call failed without giving one.
  auto failure = [] {
    return ::GetLastError() != ERROR_SUCCESS ? ::GetLastError() : ERROR_WRITE_FAULT;
  };
  DWORD error = ERROR_SUCCESS;
  if (!WriteAll(h, text) || (durable && !::FlushFileBuffers(h)))
    error = failure();
  else if (!file.Close())
    error = failure();
  // The old file's attributes stay with its name (a read-only one is refused,
  // as the system refuses to replace it). The rename over it is one step of the
  // file system, through to the disk before it returns. (ReplaceFileW would also
  // keep the old file's security, but where it fails it may leave a copy of the
  // old file behind under a name of its own.)
  else if (replacing && !::SetFileAttributesW(temporary.c_str(), (attributes & kKeptAttributes)
                                                                     ? attributes & kKeptAttributes
                                                                     : FILE_ATTRIBUTE_NORMAL))
    error = failure();
  else if (!::MoveFileExW(temporary.c_str(), target.c_str(),
                          MOVEFILE_REPLACE_EXISTING | (durable ? MOVEFILE_WRITE_THROUGH : 0)))
    error = failure();
  if (error != ERROR_SUCCESS) {
    file.Close();
    ::DeleteFileW(temporary.c_str());
    return WindowsErrorText(error);
  }
  return {};
}

std::string AppendLine(const std::string& path, std::string_view line) {
  // Append-only data access: each write lands at the file's end, whole.
  Handle file(::CreateFileW(WideText(path).c_str(), GENERIC_READ | FILE_APPEND_DATA,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (file.Get() == INVALID_HANDLE_VALUE) return WindowsErrorText(::GetLastError());
  bool lineCut = false;
  LARGE_INTEGER size{};
  if (::GetFileSizeEx(file.Get(), &size) && size.QuadPart > 0) {
    OVERLAPPED at{};
    const uint64_t offset = static_cast<uint64_t>(size.QuadPart - 1);
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    char last = '\n';
    DWORD n = 0;
    lineCut = ::ReadFile(file.Get(), &last, 1, &n, &at) && n == 1 && last != '\n';
  }
  std::string text;
  text.reserve(line.size() + 1);
  if (lineCut) text.push_back('\n');
  text.append(line);
  DWORD written = 0;
  if (text.size() > MAXDWORD ||
      !::WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr))
    return WindowsErrorText(text.size() > MAXDWORD ? ERROR_INVALID_PARAMETER : ::GetLastError());
  if (written != text.size()) return WindowsErrorText(ERROR_WRITE_FAULT);
  if (!file.Close()) return WindowsErrorText(::GetLastError());
  return {};
}

}  // namespace vmx
