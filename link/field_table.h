// Field tables: one row per record field (name, offset, type, width). The rows
// drive the little-endian byte image, the settings-file keys and debug dumps,
// so every field name is written exactly once, in the record's field list.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vmx {

enum class FieldType : uint8_t { U8, S8, U16, S16, U24, U32 };

// Bytes the type takes in the wire image.
constexpr uint8_t FieldWidth(FieldType t) {
  switch (t) {
    case FieldType::U8:
    case FieldType::S8:
      return 1;
    case FieldType::U16:
    case FieldType::S16:
      return 2;
    case FieldType::U24:
      return 3;
    case FieldType::U32:
      return 4;
  }
  return 0;
}

constexpr bool FieldSigned(FieldType t) { return t == FieldType::S8 || t == FieldType::S16; }

// Reads `width` little-endian bytes as an unsigned number.
uint32_t GetLE(std::span<const uint8_t> bytes, size_t offset, size_t width);
// Writes the low `width` bytes of `value` little-endian.
void PutLE(std::span<uint8_t> bytes, size_t offset, size_t width, uint32_t value);
// Interprets raw little-endian bits as the field type (sign extension for s8/s16).
int64_t FromRaw(FieldType t, uint32_t raw);

// One field of record R. Array fields get one row per element; `index` is the
// element number and the name carries it as a suffix (Channel0 .. Channel11).
template <class R>
struct Field {
  std::string name;
  uint16_t offset = 0;
  FieldType type = FieldType::U8;
  uint8_t width = 1;
  int index = 0;
  bool reserved = false;  // kept as received, never shown or stored in files
  int64_t (*get)(const R&, int) = nullptr;
  // Stores the value cut to the field's width (the low 8, 16, 24 or 32 bits).
  void (*set)(R&, int, int64_t) = nullptr;
};

template <class R>
class FieldTable {
 public:
  const std::vector<Field<R>>& Rows() const { return rows_; }
  // Case-insensitive, as settings files match keys.
  const Field<R>* Find(std::string_view name) const;
  void Add(Field<R> f) { rows_.push_back(std::move(f)); }

 private:
  std::vector<Field<R>> rows_;
};

// ASCII letters only: names are ASCII, and the C library's tolower() would
// ask the locale the program runs in, byte by byte. A table, as names are
// hashed and compared letter by letter in every settings-file lookup.
inline constexpr auto kFoldCase = [] {
  std::array<char, 256> table{};
  for (int c = 0; c < 256; ++c)
    table[c] = static_cast<char>(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c);
  return table;
}();
inline char FoldCase(char c) {
  return kFoldCase[static_cast<unsigned char>(c)];
}
bool EqualsIgnoreCase(std::string_view a, std::string_view b);

template <class R>
const Field<R>* FieldTable<R>::Find(std::string_view name) const {
  for (const auto& f : rows_)
    if (EqualsIgnoreCase(f.name, name)) return &f;
  return nullptr;
}

template <class R>
using Image = std::array<uint8_t, R::Size>;

// The wire image of a record, derived from its field table.
template <class R>
Image<R> Encode(const R& record) {
  Image<R> out{};
  for (const auto& f : R::Fields().Rows())
    PutLE(out, f.offset, f.width, static_cast<uint32_t>(f.get(record, f.index)));
  return out;
}

// The record held by a wire image; `bytes` must hold at least R::Size bytes.
template <class R>
R Decode(std::span<const uint8_t> bytes) {
  R record{};
  for (const auto& f : R::Fields().Rows())
    f.set(record, f.index, FromRaw(f.type, GetLE(bytes, f.offset, f.width)));
  return record;
}

}  // namespace vmx
