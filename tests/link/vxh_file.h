// Firmware image files for tests, built byte by byte as the bootloader's
// tools would write them, independent of the parser under test.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "tests/support/temp_folder.h"

namespace vmx::testing {

inline void PutLe32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

// Header, the bytes, and the wrapping sum of both addresses and every byte,
// plus `checksumOffset`.
inline std::vector<uint8_t> VxhBytes(int32_t first, int32_t last, const std::vector<uint8_t>& data,
                                     int32_t checksumOffset = 0) {
  std::vector<uint8_t> out;
  PutLe32(out, static_cast<uint32_t>(first));
  PutLe32(out, static_cast<uint32_t>(last));
  uint32_t sum = static_cast<uint32_t>(first) + static_cast<uint32_t>(last);
  for (uint8_t b : data) {
    out.push_back(b);
    sum += b;
  }
  PutLe32(out, sum + static_cast<uint32_t>(checksumOffset));
  return out;
}

// Image bytes for first .. last that are not all alike: a fault that drops,
// repeats or shifts a block shows.
inline std::vector<uint8_t> Pattern(int32_t first, int32_t last) {
  std::vector<uint8_t> data;
  for (int64_t a = first; a <= last; ++a)
    data.push_back(static_cast<uint8_t>((a * 7 + (a >> 8) * 13 + 1) & 0xFF));
  return data;
}

// A file in a directory of its own that goes away with the object.
class TempFile {
 public:
  explicit TempFile(const std::vector<uint8_t>& bytes,
                    const std::string& name = "Velmarinex2x4.vxh")
      : dir_(folder_.str()), path_(folder_ / name) {
    Write(bytes);
  }

  void Write(const std::vector<uint8_t>& bytes) {
    if (std::FILE* f = std::fopen(path_.c_str(), "wb")) {
      // An empty vector's data() may be null, which fwrite must not be given.
      if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), f);
      std::fclose(f);
    }
  }
  const std::string& path() const { return path_; }
  const std::string& dir() const { return dir_; }

 private:
  TempFolder folder_{"vmx-vxh"};
  std::string dir_;
  std::string path_;
};

}  // namespace vmx::testing
