// Firmware image files: what is accepted, what is refused and what each
// refusal says, and that nothing outside the memory image is ever written.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <memory>

#include "link/firmware_image.h"
#include "tests/link/vxh_file.h"

namespace vmx {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using testing::Pattern;
using testing::TempFile;
using testing::VxhBytes;

class FirmwareImageTest : public ::testing::Test {
 protected:
  ParsedImage Parse(const std::string& path, bool debug = false) {
    lines.clear();
    const ImageReports reports{[&](const std::string& t) { lines.push_back("log: " + t); },
                               [&](const std::string& t) { lines.push_back("status: " + t); },
                               [&](const std::string& p) { return "file " + p; }, debug};
    return ParseFirmwareFile(path, *memory, reports);
  }
  ParsedImage Parse(const std::vector<uint8_t>& bytes, bool debug = false) {
    file = std::make_unique<TempFile>(bytes);
    return Parse(file->path(), debug);
  }
  bool MemoryIsZero() const {
    return std::all_of(memory->begin(), memory->end(), [](uint8_t b) { return b == 0; });
  }

  std::unique_ptr<FirmwareMemory> memory = std::make_unique<FirmwareMemory>();
  std::unique_ptr<TempFile> file;
  std::vector<std::string> lines;
};

TEST_F(FirmwareImageTest, AnImagePlacedAtItsAddressesWithTheFileLineAndTheDebugSum) {
  const auto data = Pattern(0, 0x1FFF);
  const auto bytes = VxhBytes(0, 0x1FFF, data);
  const ParsedImage p = Parse(bytes, true);
  ASSERT_TRUE(p.ok);
  EXPECT_EQ(p.first, 0);
  EXPECT_EQ(p.last, 0x1FFF);
  EXPECT_TRUE(std::equal(data.begin(), data.end(), memory->begin()));
  EXPECT_EQ((*memory)[0x2000], 0);
  uint32_t sum = 0x1FFF;
  for (uint8_t b : data) sum += b;
  EXPECT_THAT(lines,
              ElementsAre("log: file " + file->path(), "log: Checksum: " + std::to_string(sum)));

  // Elsewhere in the memory image, and without the trace.
  const auto high = Pattern(0xF000, 0xFFFF);
  ASSERT_TRUE(Parse(VxhBytes(0xF000, 0xFFFF, high)).ok);
  EXPECT_TRUE(std::equal(high.begin(), high.end(), memory->begin() + 0xF000));
  EXPECT_EQ((*memory)[0xEFFF], 0);
  EXPECT_EQ(lines.size(), 1u);
}

TEST_F(FirmwareImageTest, ChecksumOffByOneShowsTheStoredSumFirst) {
  const std::vector<uint8_t> data{1, 2, 3, 4};
  EXPECT_FALSE(Parse(VxhBytes(0x10, 0x13, data, +1)).ok);
  // 0x10 + 0x13 + 10 = 45
  EXPECT_EQ(lines.back(), "status: Checksum error in file (46 != 45)!");
  EXPECT_FALSE(Parse(VxhBytes(0x10, 0x13, data, -1)).ok);
  EXPECT_EQ(lines.back(), "status: Checksum error in file (44 != 45)!");
  // A wrapping sum is shown as the 32-bit number it is.
  EXPECT_FALSE(Parse(VxhBytes(0x10, 0x13, data, -46)).ok);
  EXPECT_EQ(lines.back(), "status: Checksum error in file (4294967295 != 45)!");
}

TEST_F(FirmwareImageTest, OneByteOrNoneIsNoData) {
  EXPECT_FALSE(Parse(VxhBytes(0x100, 0x100, {0x55})).ok);
  EXPECT_EQ(lines.back(), "status: Error: File does not contain data!");
  EXPECT_FALSE(Parse(VxhBytes(0x200, 0x100, {})).ok) << "last before first";
  EXPECT_EQ(lines.back(), "status: Error: File does not contain data!");
}

TEST_F(FirmwareImageTest, AddressesOutsideTheMemoryImageAreRefusedBeforeAnyWrite) {
  struct Case {
    int32_t first, last;
  };
  for (const Case c : {Case{-1, 0x10}, Case{-64, -1}, Case{0x7FFFFFF0, 0x7FFFFFFF},
                       Case{0xFFF0, 0x10000}, Case{INT_MIN, INT_MAX}}) {
    SCOPED_TRACE(std::to_string(c.first) + ".." + std::to_string(c.last));
    // Bytes enough for a short span, and a checksum that matches the header
    // alone: the span from INT_MIN to INT_MAX counts 2^32 bytes, 0 in 32 bits.
    std::vector<uint8_t> bytes = VxhBytes(c.first, c.last, {});
    if (c.first < 0 && c.last >= c.first && c.last - static_cast<int64_t>(c.first) < 64)
      bytes = VxhBytes(c.first, c.last, std::vector<uint8_t>(c.last - c.first + 1, 0xAB));
    EXPECT_FALSE(Parse(bytes).ok);
    EXPECT_EQ(lines.back(), "status: Error while parsing!");
    EXPECT_THAT(lines[lines.size() - 2], HasSubstr("outside 0x0000 .. 0xFFFF"));
    EXPECT_TRUE(MemoryIsZero());
  }
}

TEST_F(FirmwareImageTest, SixtyFourKilobytesAtMost) {
  // 8 header bytes, 65524 image bytes, 4 checksum bytes: 65536.
  const auto data = Pattern(0, 65523);
  const auto full = VxhBytes(0, 65523, data);
  ASSERT_EQ(full.size(), 65536u);
  ASSERT_TRUE(Parse(full).ok);
  EXPECT_EQ((*memory)[65523], data.back());

  auto longer = full;
  longer.push_back(0);
  EXPECT_FALSE(Parse(longer).ok);
  EXPECT_EQ(lines.back(), "status: Error while parsing!") << "said, not silent";
  EXPECT_THAT(lines[lines.size() - 2], HasSubstr("more than 65536 bytes"));
}

TEST_F(FirmwareImageTest, LineEndsAndControlBytesInsideTheImageAreData) {
  const std::vector<uint8_t> data{0x0D, 0x0A, 0x0A, 0x0D, 0x1A, 0x00, 0x0D, 0x0A, 0xFF, 0x1A};
  ASSERT_TRUE(Parse(VxhBytes(0x0A, 0x13, data)).ok);
  EXPECT_TRUE(std::equal(data.begin(), data.end(), memory->begin() + 0x0A));
}

TEST_F(FirmwareImageTest, EmptyShortAndMissingFilesAreParsingErrors) {
  EXPECT_FALSE(Parse(std::vector<uint8_t>{}).ok);
  EXPECT_THAT(lines, ElementsAre("log: file " + file->path(),
                                 "log: " + file->path() + ": unexpected end of file",
                                 "status: Error while parsing!"));

  auto cut = VxhBytes(0, 0xFF, Pattern(0, 0xFF));
  cut.resize(cut.size() - 5);  // the checksum and one image byte missing
  EXPECT_FALSE(Parse(cut).ok);
  EXPECT_EQ(lines.back(), "status: Error while parsing!");

  const std::string missing = file->dir() + "/none.vxh";
  lines.clear();
  const ImageReports reports{[&](const std::string& t) { lines.push_back("log: " + t); },
                             [&](const std::string& t) { lines.push_back("status: " + t); },
                             {},
                             false};
  EXPECT_FALSE(ParseFirmwareFile(missing, *memory, reports).ok);
  EXPECT_THAT(lines, ElementsAre("log: ", "log: " + missing + ": No such file or directory",
                                 "status: Error while parsing!"))
      << "a missing file has an empty file line";
}

TEST_F(FirmwareImageTest, EveryParseStartsFromAZeroedImage) {
  // A refused file leaves its bytes nowhere for the next file's partial page.
  EXPECT_FALSE(Parse(VxhBytes(0x100, 0x17F, std::vector<uint8_t>(0x80, 0xAA), 1)).ok);
  ASSERT_TRUE(Parse(VxhBytes(0x100, 0x110, Pattern(0x100, 0x110))).ok);
  EXPECT_TRUE(std::all_of(memory->begin() + 0x111, memory->begin() + 0x180,
                          [](uint8_t b) { return b == 0; }));
}

TEST(FirmwareImageFileInfo, PathSizeAndBytesOrNothing) {
  TempFile f(std::vector<uint8_t>(1234, 1));
  const std::string line = FileInfoLine(f.path());
  EXPECT_THAT(line, ::testing::StartsWith(f.path() + " "));
  EXPECT_THAT(line, ::testing::EndsWith(" 1234 bytes"));
  EXPECT_EQ(FileInfoLine(f.dir() + "/none.vxh"), "");
}

}  // namespace
}  // namespace vmx
