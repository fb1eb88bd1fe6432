#include "bluetooth/bt_address.h"

#include <cstdio>

namespace vmx {
namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::optional<BtAddress> ParseBtAddress(std::string_view text) {
  if (text.size() != 17) return std::nullopt;
  BtAddress address{};
  for (size_t i = 0; i < 6; ++i) {
    const size_t at = i * 3;
    if (i > 0 && text[at - 1] != ':') return std::nullopt;
    const int high = HexDigit(text[at]);
    const int low = HexDigit(text[at + 1]);
    if (high < 0 || low < 0) return std::nullopt;
    address[5 - i] = static_cast<uint8_t>(high * 16 + low);
  }
  return address;
}

std::string FormatBtAddress(const BtAddress& address) {
  char text[18];
  std::snprintf(text, sizeof text, "%02X:%02X:%02X:%02X:%02X:%02X", address[5], address[4],
                address[3], address[2], address[1], address[0]);
  return text;
}

}  // namespace vmx
