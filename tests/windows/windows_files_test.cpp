// Files on Windows: replaced whole under UTF-8 names, never half-written, and
// the per-user data folder.
#include <gtest/gtest.h>
#include <windows.h>
#undef ReplaceFile

#include <filesystem>
#include <string>

#include "link/firmware_image.h"
#include "persist/data_root.h"
#include "persist/text_file.h"
#include "platform/windows_text.h"
#include "tests/link/vxh_file.h"
#include "tests/test_system.h"

namespace vmx {
namespace {

namespace fs = std::filesystem;

class WindowsFilesTest : public ::testing::Test {
 protected:
  void SetUp() override { folder_ = testing::MakeTempFolder("vmx-files"); }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }
  // A name in the folder as the program is given it: UTF-8.
  std::string Utf8Path(const std::string& name) const {
    return Utf8Text(folder_.wstring()) + "\\" + name;
  }
  // Every name in the folder, as the system spells it.
  std::vector<std::wstring> Names() const {
    std::vector<std::wstring> names;
    for (const auto& entry : fs::directory_iterator(folder_))
      names.push_back(entry.path().filename().wstring());
    return names;
  }

  fs::path folder_;
};

TEST_F(WindowsFilesTest, NamesInAnyScriptAreTheSystemsNames) {
  struct Case {
    const char* utf8;
    const wchar_t* wide;
  } const cases[] = {
      {"Backup_COM7.ini", L"Backup_COM7.ini"},
      {"Aquarium K\xc3\xbc"
       "che.ini",
       L"Aquarium K\u00fcche.ini"},
      {"\xe6\xb0\xb4\xe6\x97\x8f\xe9\xa4\xa8.ini", L"\u6c34\u65cf\u9928.ini"},
      {"Riff \xf0\x9f\x90\xa0.ini", L"Riff \U0001F420.ini"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.utf8);
    const std::string path = Utf8Path(c.utf8);
    ASSERT_EQ(ReplaceFile(path, "[Config]\r\nFanLow=76\r\n"), "");
    EXPECT_TRUE(fs::exists(folder_ / c.wide));
    const FileRead read = ReadTextFile(path);
    EXPECT_EQ(read.status, FileRead::Status::Read) << read.error;
    EXPECT_EQ(read.text, "[Config]\r\nFanLow=76\r\n");
  }
  EXPECT_EQ(Names().size(), std::size(cases)) << "no temporary file is left behind";
}

TEST_F(WindowsFilesTest, ReplacingKeepsTheOldFilesAttributes) {
  const std::string path = Utf8Path("Backup_COM3.ini");
  ASSERT_EQ(ReplaceFile(path, "old"), "");
  ASSERT_TRUE(::SetFileAttributesW(WideText(path).c_str(), FILE_ATTRIBUTE_HIDDEN));
  ASSERT_EQ(ReplaceFile(path, "new text"), "");
  EXPECT_EQ(ReadTextFile(path).text, "new text");
  EXPECT_TRUE(::GetFileAttributesW(WideText(path).c_str()) & FILE_ATTRIBUTE_HIDDEN);
  EXPECT_EQ(Names().size(), 1u);
}

TEST_F(WindowsFilesTest, AFailedReplacementLeavesTheOldFileWhole) {
  const std::string path = Utf8Path("Settings.ini");
  ASSERT_EQ(ReplaceFile(path, "the old settings"), "");
  // Another program holds the file without sharing it.
  HANDLE held = ::CreateFileW(WideText(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_NE(ReplaceFile(path, "the new settings"), "");
  ::CloseHandle(held);
  EXPECT_EQ(ReadTextFile(path).text, "the old settings");
  EXPECT_EQ(Names(), std::vector<std::wstring>{L"Settings.ini"})
      << "the new text is not left beside it";
  EXPECT_NE(ReplaceFile(Utf8Path("no such folder\\x.ini"), "text"), "");
  EXPECT_NE(ReplaceFile(Utf8Text(folder_.wstring()), "text"), "") << "a folder is no file";
}

TEST_F(WindowsFilesTest, LinesAreAppendedWholeAndACutLineIsEnded) {
  const std::string log = Utf8Path("Aquarium K\xc3\xbc" "che.log");
  EXPECT_EQ(AppendLine(log, "first\n"), "");
  EXPECT_EQ(AppendLine(log, "second\n"), "");
  EXPECT_EQ(ReadTextFile(log).text, "first\nsecond\n");
  ASSERT_EQ(ReplaceFile(log, "first\ncut sh", false), "");
  EXPECT_EQ(AppendLine(log, "third\n"), "");
  EXPECT_EQ(ReadTextFile(log).text, "first\ncut sh\nthird\n");
  EXPECT_NE(AppendLine(Utf8Path("no such folder\\x.log"), "x\n"), "");
  EXPECT_NE(AppendLine(Utf8Text(folder_.wstring()), "x\n"), "") << "a folder is no file";
}

TEST_F(WindowsFilesTest, ReadingTellsMissingFromUnreadable) {
  struct Case {
    std::string path;
    FileRead::Status status;
  } const cases[] = {
      {Utf8Path("missing.ini"), FileRead::Status::Missing},
      {Utf8Path("missing folder\\x.ini"), FileRead::Status::Missing},
      {Utf8Text(folder_.wstring()), FileRead::Status::Failed},
      {"NUL", FileRead::Status::Failed},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    const FileRead read = ReadTextFile(c.path);
    EXPECT_EQ(read.status, c.status);
    EXPECT_FALSE(read.error.empty());
  }
  const std::string big = Utf8Path("big.ini");
  ASSERT_EQ(ReplaceFile(big, std::string(1000, 'x')), "");
  EXPECT_EQ(ReadTextFile(big, 999).status, FileRead::Status::Failed);
  EXPECT_EQ(ReadTextFile(big, 1000).text.size(), 1000u);
}

TEST_F(WindowsFilesTest, FirmwareImagesUnderAnyNameAreRead) {
  const std::vector<uint8_t> bytes = testing::VxhBytes(0, 255, testing::Pattern(0, 255));
  const std::string path = Utf8Path(
      "Firmware K\xc3\xbc"
      "che \xe6\xb0\xb4.vxh");
  ASSERT_EQ(ReplaceFile(path, std::string(bytes.begin(), bytes.end())), "");
  std::string log;
  const ImageReports reports{[&](const std::string& t) { log += t + "\n"; },
                             [&](const std::string& t) { log += t + "\n"; }, nullptr, false};
  auto memory = std::make_unique<FirmwareMemory>();
  EXPECT_TRUE(ParseFirmwareFile(path, *memory, reports).ok) << log;
  EXPECT_EQ((*memory)[255], testing::Pattern(0, 255)[255]);
  EXPECT_TRUE(log.starts_with(path + " ")) << "the file line names it, with its size: " << log;
  EXPECT_NE(log.find(" 268 "), std::string::npos) << log;
}

TEST(WindowsDataRoot, IsVelmarinexInTheLocalApplicationData) {
  testing::SetEnvironment("LOCALAPPDATA", "C:\\Users\\keeper\\AppData\\Local");
  EXPECT_EQ(UserDataRoot(), fs::path(L"C:\\Users\\keeper\\AppData\\Local\\Velmarinex"));
  // A relative folder is ignored; the shell's own folder stands in.
  testing::SetEnvironment("LOCALAPPDATA", "relative");
  const fs::path fallback = UserDataRoot();
  EXPECT_TRUE(fallback.is_absolute()) << fallback.string();
  EXPECT_EQ(fallback.filename(), L"Velmarinex");
}

}  // namespace
}  // namespace vmx
