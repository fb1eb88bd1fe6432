// The two service discovery messages needed to find the RFCOMM channel of a
// device's serial port service: the search request, and the reading of its
// answer. Every length in an answer is checked: a device's bytes are not trusted.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace vmx::sdp {

// ServiceSearchAttributeRequest for the serial port service class, asking for
// the protocol descriptor list; `continuation` as the last answer gave it.
std::vector<uint8_t> SerialPortRequest(uint16_t transaction, std::span<const uint8_t> continuation);

// One ServiceSearchAttributeResponse: appends its attribute bytes and sets the
// continuation state (empty: the answer is complete). False for an error
// answer, another transaction, or a malformed one.
bool ReadResponse(std::span<const uint8_t> pdu, uint16_t transaction,
                  std::vector<uint8_t>& attributes, std::vector<uint8_t>& continuation);

// The RFCOMM channel in the first record of the complete attribute lists
// that has one.
std::optional<int> RfcommChannel(std::span<const uint8_t> attributeLists);

}  // namespace vmx::sdp
