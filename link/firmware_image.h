// Firmware image files (".vxh") as the bootloader takes them: a header with the
// first and last address, the image bytes, and a checksum, all little-endian.
// The bytes are placed at their addresses in a 64 KiB memory image.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>

namespace vmx {

// Addresses 0 .. 0xFFFF, as the bootloader's address field can name them.
using FirmwareMemory = std::array<uint8_t, 0x10000>;

// The largest file the bootloader's images can come in.
constexpr size_t kMaxFirmwareFile = 0x10000;

// What reading a file found, before anything is reported.
struct ImageCheck {
  enum class Verdict {
    Ok,
    TooLong,        // more than kMaxFirmwareFile bytes
    Truncated,      // ends inside the header, the image or the checksum
    OutOfRange,     // an address outside 0 .. 0xFFFF
    ChecksumError,  // stored and computed sums differ
    NoData,         // first >= last
  };
  Verdict verdict = Verdict::Truncated;
  int32_t first = 0;
  int32_t last = 0;
  uint32_t stored = 0;    // the checksum the file carries
  uint32_t computed = 0;  // the sum of both addresses and every image byte
};

// Checks a whole file's bytes and places the image into `memory`, which is
// zeroed first, so that nothing of an earlier file pads this one's pages.
ImageCheck CheckFirmwareImage(std::span<const uint8_t> file, FirmwareMemory& memory);

// Where the messages of a parse go.
struct ImageReports {
  std::function<void(const std::string&)> log;
  std::function<void(const std::string&)> status;  // also lands in the log
  // The one-line description of the file: path, date and time, size.
  std::function<std::string(const std::string&)> fileInfo;
  bool debug = false;  // adds the computed checksum to the log
};

struct ParsedImage {
  bool ok = false;
  int32_t first = 0;
  int32_t last = 0;
};

// Reads `path` as raw bytes (a CR LF inside the image is data), reports the
// file line, checks it and places it into `memory`. Every refusal says why.
ParsedImage ParseFirmwareFile(const std::string& path, FirmwareMemory& memory,
                              const ImageReports& reports);

// The file line of the log without a desktop: path, a blank, the local date and
// time of the last change, a blank, the size, a blank and the word for bytes.
// Empty when the file cannot be found.
std::string FileInfoLine(const std::string& path);

}  // namespace vmx
