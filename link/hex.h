// ASCII-hex as the board's wire protocol uses it.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace vmx {

// Two upper-case digits per byte.
std::string ToHex(std::span<const uint8_t> bytes);
void AppendHex(std::string& out, uint8_t byte);
// Value of one hex digit, upper or lower case; nullopt for anything else.
std::optional<uint8_t> HexDigit(char c);
// Value of a pair of hex digits.
std::optional<uint8_t> HexPair(char high, char low);

}  // namespace vmx
