// Device addresses: shown most significant byte first (00:11:22:AA:BB:CC),
// held by the kernel least significant byte first.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vmx {

using BtAddress = std::array<uint8_t, 6>;  // the kernel's byte order

std::optional<BtAddress> ParseBtAddress(std::string_view text);
std::string FormatBtAddress(const BtAddress& address);

}  // namespace vmx
