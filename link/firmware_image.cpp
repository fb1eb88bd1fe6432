#include "link/firmware_image.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <memory>
#include <vector>

#include "lang/catalogue.h"
#include "platform/file_path.h"

namespace vmx {
namespace {

constexpr int64_t kHighestAddress = 0xFFFF;
constexpr size_t kHeader = 8;
constexpr size_t kChecksum = 4;

uint32_t Le32(std::span<const uint8_t> b, size_t at) {
  return static_cast<uint32_t>(b[at]) | static_cast<uint32_t>(b[at + 1]) << 8 |
         static_cast<uint32_t>(b[at + 2]) << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

std::string Hex4(int64_t v) {
  char buf[24];
  std::snprintf(buf, sizeof buf, "0x%04llX", static_cast<long long>(v));
  return buf;
}

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

// The file's bytes, at most one more than an image may have; the error text
// when it cannot be opened or read.
bool ReadAtMost(const std::string& path, size_t limit, std::vector<uint8_t>& out,
                std::string& error) {
  errno = 0;
  std::unique_ptr<std::FILE, FileCloser> f(OpenFile(path, "rb"));
  if (!f) {
    error = path + ": " + std::strerror(errno ? errno : ENOENT);
    return false;
  }
  out.resize(limit);
  const size_t got = std::fread(out.data(), 1, limit, f.get());
  if (std::ferror(f.get())) {
    error = path + ": " + std::strerror(errno ? errno : EIO);
    return false;
  }
  out.resize(got);
  return true;
}

}  // namespace

ImageCheck CheckFirmwareImage(std::span<const uint8_t> file, FirmwareMemory& memory) {
  memory.fill(0);
  ImageCheck c;
  if (file.size() > kMaxFirmwareFile) {
    c.verdict = ImageCheck::Verdict::TooLong;
    return c;
  }
  if (file.size() < kHeader) return c;  // Truncated
  c.first = static_cast<int32_t>(Le32(file, 0));
  c.last = static_cast<int32_t>(Le32(file, 4));
  // Signed addresses from the file could reach outside the memory image, and
  // their span could wrap around; neither may get as far as a write.
  if (c.first < 0 || c.last > kHighestAddress) {
    c.verdict = ImageCheck::Verdict::OutOfRange;
    return c;
  }
  const int64_t count = c.last >= c.first ? int64_t{c.last} - c.first + 1 : 0;
  if (static_cast<int64_t>(file.size()) < static_cast<int64_t>(kHeader + kChecksum) + count)
    return c;  // Truncated

  uint32_t sum = static_cast<uint32_t>(c.first) + static_cast<uint32_t>(c.last);
  for (int64_t i = 0; i < count; ++i) {
    const uint8_t b = file[kHeader + static_cast<size_t>(i)];
    memory[static_cast<size_t>(c.first + i)] = b;
    sum += b;
  }
  c.computed = sum;
  c.stored = Le32(file, kHeader + static_cast<size_t>(count));
  if (c.stored != c.computed)
    c.verdict = ImageCheck::Verdict::ChecksumError;
  else if (c.first >= c.last)
    c.verdict = ImageCheck::Verdict::NoData;
  else
    c.verdict = ImageCheck::Verdict::Ok;
  return c;
}

ParsedImage ParseFirmwareFile(const std::string& path, FirmwareMemory& memory,
                              const ImageReports& reports) {
  reports.log(reports.fileInfo ? reports.fileInfo(path) : FileInfoLine(path));
  std::vector<uint8_t> bytes;
  std::string error;
  if (!ReadAtMost(path, kMaxFirmwareFile + 1, bytes, error)) {
    memory.fill(0);
    reports.log(error);
    reports.status(LangText("ParsingError"));
    return {};
  }
  const ImageCheck c = CheckFirmwareImage(bytes, memory);
  using V = ImageCheck::Verdict;
  switch (c.verdict) {
    case V::TooLong:
      reports.log(path + ": more than " + std::to_string(kMaxFirmwareFile) + " bytes");
      reports.status(LangText("ParsingError"));
      return {};
    case V::Truncated:
      reports.log(path + ": unexpected end of file");
      reports.status(LangText("ParsingError"));
      return {};
    case V::OutOfRange:
      reports.log(path + ": addresses " + Hex4(c.first) + " .. " + Hex4(c.last) +
                  " outside 0x0000 .. 0xFFFF");
      reports.status(LangText("ParsingError"));
      return {};
    case V::ChecksumError:
      reports.status(LangFormat("ChecksumError",
                                {std::to_string(c.stored) + " != " + std::to_string(c.computed)}));
      return {};
    case V::NoData:
    case V::Ok:
      break;
  }
  if (reports.debug) reports.log("Checksum: " + std::to_string(c.computed));
  if (c.verdict == V::NoData) {
    reports.status(LangText("NoDataInFile"));
    return {};
  }
  return {true, c.first, c.last};
}

std::string FileInfoLine(const std::string& path) {
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::path file = PathOfText(path);
  const auto size = fs::file_size(file, ec);
  if (ec) return {};
  const auto changed = fs::last_write_time(file, ec);
  if (ec) return {};
  const std::time_t t =
      std::chrono::system_clock::to_time_t(std::chrono::file_clock::to_sys(changed));
  std::tm tm{};
  localtime_r(&t, &tm);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", &tm);
  return path + ' ' + stamp + ' ' + std::to_string(size) + ' ' + LangText("Bytes");
}

}  // namespace vmx
