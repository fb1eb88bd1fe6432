#include "link/hex.h"

namespace vmx {

void AppendHex(std::string& out, uint8_t byte) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  out.push_back(kDigits[byte >> 4]);
  out.push_back(kDigits[byte & 0xF]);
}

std::string ToHex(std::span<const uint8_t> bytes) {
  std::string out;
  out.reserve(bytes.size() * 2);
  for (uint8_t b : bytes) AppendHex(out, b);
  return out;
}

std::optional<uint8_t> HexDigit(char c) {
  if (c >= '0' && c <= '9') return static_cast<uint8_t>(c - '0');
  if (c >= 'A' && c <= 'F') return static_cast<uint8_t>(c - 'A' + 10);
  if (c >= 'a' && c <= 'f') return static_cast<uint8_t>(c - 'a' + 10);
  return std::nullopt;
}

std::optional<uint8_t> HexPair(char high, char low) {
  auto h = HexDigit(high);
  auto l = HexDigit(low);
  if (!h || !l) return std::nullopt;
  return static_cast<uint8_t>(*h << 4 | *l);
}

}  // namespace vmx
