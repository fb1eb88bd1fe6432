#include "link/field_table.h"

namespace vmx {

uint32_t GetLE(std::span<const uint8_t> bytes, size_t offset, size_t width) {
  uint32_t v = 0;
  for (size_t i = 0; i < width; ++i) v |= static_cast<uint32_t>(bytes[offset + i]) << (8 * i);
  return v;
}

void PutLE(std::span<uint8_t> bytes, size_t offset, size_t width, uint32_t value) {
  for (size_t i = 0; i < width; ++i) bytes[offset + i] = static_cast<uint8_t>(value >> (8 * i));
}

int64_t FromRaw(FieldType t, uint32_t raw) {
  switch (t) {
    case FieldType::S8:
      return static_cast<int8_t>(raw);
    case FieldType::S16:
      return static_cast<int16_t>(raw);
    default:
      return raw;
  }
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  // No exit at the first difference: names are short, and one test at the end
  // costs less than one per letter.
  unsigned difference = 0;
  for (size_t i = 0; i < a.size(); ++i)
    difference |= static_cast<unsigned char>(FoldCase(a[i]) ^ FoldCase(b[i]));
  return difference == 0;
}

}  // namespace vmx
