// Firmware image files of any content: the check that decides whether the
// bootloader gets them and where their bytes land.
#include <algorithm>
#include <cstdint>
#include <memory>
#include <span>

#include "link/firmware_image.h"
#include "tests/fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vmx;
  static auto memory = std::make_unique<FirmwareMemory>();
  const std::span<const uint8_t> file(data, size);
  const ImageCheck c = CheckFirmwareImage(file, *memory);
  using V = ImageCheck::Verdict;
  if (c.verdict == V::Ok) {
    // An accepted image lies inside the memory, carries its sum and holds
    // exactly the file's bytes at its addresses, and nothing anywhere else.
    FUZZ_CHECK(c.first >= 0 && c.first < c.last && c.last <= 0xFFFF);
    FUZZ_CHECK(c.stored == c.computed);
    const size_t count = static_cast<size_t>(c.last - c.first) + 1;
    FUZZ_CHECK(size >= 8 + count + 4);
    FUZZ_CHECK(std::equal(memory->begin() + c.first, memory->begin() + c.last + 1, data + 8));
    FUZZ_CHECK(
        std::all_of(memory->begin(), memory->begin() + c.first, [](uint8_t b) { return b == 0; }));
    FUZZ_CHECK(
        std::all_of(memory->begin() + c.last + 1, memory->end(), [](uint8_t b) { return b == 0; }));
  }
  if (c.verdict == V::TooLong) FUZZ_CHECK(size > kMaxFirmwareFile);
  return 0;
}
