#include "app/registry_port_source.h"

#include <windows.h>

#include <stdexcept>

#include "platform/windows_text.h"

namespace vmx {
namespace {

constexpr DWORD kLongest = 256;  // characters of a value's name and of its data

// Closes the key on every way out.
class Key {
 public:
  explicit Key(HKEY key) : key_(key) {}
  ~Key() { ::RegCloseKey(key_); }
  Key(const Key&) = delete;
  Key& operator=(const Key&) = delete;
  HKEY Get() const { return key_; }

 private:
  HKEY key_;
};

}  // namespace

RegistryPortSource::RegistryPortSource(Root root, std::string key)
    : root_(root), key_(std::move(key)) {}

std::vector<SerialDevice> RegistryPortSource::Devices() {
  HKEY opened = nullptr;
  const HKEY root = root_ == Root::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
  const LSTATUS status = ::RegOpenKeyExW(root, WideText(key_).c_str(), 0, KEY_READ, &opened);
  if (status != ERROR_SUCCESS)
    throw std::runtime_error(key_ + ": " + WindowsErrorText(static_cast<uint32_t>(status)));
  Key key(opened);
  std::vector<SerialDevice> devices;
  for (DWORD index = 0;; ++index) {
    wchar_t name[kLongest];
    wchar_t data[kLongest];
    DWORD nameLength = kLongest;
    DWORD dataBytes = sizeof data;
    DWORD type = 0;
    if (::RegEnumValueW(key.Get(), index, name, &nameLength, nullptr, &type,
                        reinterpret_cast<BYTE*>(data), &dataBytes) != ERROR_SUCCESS ||
        type != REG_SZ)
      break;
    // The stored text may or may not end with its terminating zero.
    std::wstring_view port(data, dataBytes / sizeof(wchar_t));
    while (!port.empty() && port.back() == L'\0') port.remove_suffix(1);
    devices.push_back({Utf8Text(port), Utf8Text(std::wstring_view(name, nameLength))});
  }
  return devices;
}

std::unique_ptr<PortSource> MakeSystemPortSource() {
  return std::make_unique<RegistryPortSource>();
}

}  // namespace vmx
