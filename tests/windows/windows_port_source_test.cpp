// The port list from a registry table shaped as the system's serial-port table.
#include "app/registry_port_source.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <stdexcept>
#include <string>

namespace vmx {
namespace {

class RegistryPortSourceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    key_ = L"Software\\VelmarinexTests\\Ports" + std::to_wstring(::GetCurrentProcessId());
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, key_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                nullptr, &key_handle_, nullptr),
              ERROR_SUCCESS);
  }
  void TearDown() override {
    ::RegCloseKey(key_handle_);
    ::RegDeleteKeyW(HKEY_CURRENT_USER, key_.c_str());
  }
  void Text(const wchar_t* name, const std::wstring& value, bool terminated = true) {
    const DWORD bytes = static_cast<DWORD>((value.size() + (terminated ? 1 : 0)) * sizeof(wchar_t));
    ASSERT_EQ(::RegSetValueExW(key_handle_, name, 0, REG_SZ,
                               reinterpret_cast<const BYTE*>(value.c_str()), bytes),
              ERROR_SUCCESS);
  }
  RegistryPortSource Source() const {
    return RegistryPortSource(
        RegistryPortSource::Root::CurrentUser,
        "Software\\VelmarinexTests\\Ports" + std::to_string(::GetCurrentProcessId()));
  }

  std::wstring key_;
  HKEY key_handle_ = nullptr;
};

TEST_F(RegistryPortSourceTest, EachValueIsAPortWithItsDevice) {
  // Named in the order the table is kept in (Wine keeps it sorted by name).
  Text(L"\\Device\\BthModem0", L"COM12", false);  // stored without its zero
  Text(L"\\Device\\Serial0", L"COM1");
  Text(L"\\Device\\VCP\u00e40", L"COM3");
  const auto devices = Source().Devices();
  ASSERT_EQ(devices.size(), 3u);
  EXPECT_EQ(devices[0].path, "COM12");
  EXPECT_EQ(devices[0].description, "\\Device\\BthModem0");
  EXPECT_EQ(devices[1].path, "COM1");
  EXPECT_EQ(devices[1].description, "\\Device\\Serial0");
  EXPECT_EQ(devices[2].description,
            "\\Device\\VCP\xc3\xa4"
            "0")
      << "names arrive as UTF-8";
}

TEST_F(RegistryPortSourceTest, AValueThatIsNoTextEndsTheList) {
  Text(L"\\Device\\Serial0", L"COM1");
  const DWORD number = 4;
  ::RegSetValueExW(key_handle_, L"\\Device\\Serial1", 0, REG_DWORD,
                   reinterpret_cast<const BYTE*>(&number), sizeof number);
  Text(L"\\Device\\Serial2", L"COM2");
  const auto devices = Source().Devices();
  ASSERT_EQ(devices.size(), 1u);
  EXPECT_EQ(devices[0].path, "COM1");
}

TEST_F(RegistryPortSourceTest, AnEmptyTableIsNoPortsAndAMissingOneAnError) {
  EXPECT_TRUE(Source().Devices().empty());
  RegistryPortSource missing(RegistryPortSource::Root::CurrentUser,
                             "Software\\VelmarinexTests\\NoSuchTable");
  EXPECT_THROW(missing.Devices(), std::runtime_error);
}

}  // namespace
}  // namespace vmx
