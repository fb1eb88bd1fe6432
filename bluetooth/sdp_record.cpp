#include "bluetooth/sdp_record.h"

#include <algorithm>

namespace vmx::sdp {
namespace {

constexpr uint8_t kSearchAttributeRequest = 0x06;
constexpr uint8_t kSearchAttributeResponse = 0x07;
constexpr uint16_t kSerialPortClass = 0x1101;
constexpr uint16_t kRfcommProtocol = 0x0003;
constexpr uint16_t kProtocolDescriptorList = 0x0004;
constexpr size_t kMaxContinuation = 16;
// Lists nest two levels in a sane record; anything deeper is not ours.
constexpr int kMaxDepth = 8;

// Data element types.
constexpr uint8_t kUint = 1;
constexpr uint8_t kUuid = 3;
constexpr uint8_t kSequence = 6;
constexpr uint8_t kAlternative = 7;

struct Element {
  uint8_t type = 0;
  std::span<const uint8_t> data;
};

uint32_t BigEndian(std::span<const uint8_t> bytes) {
  uint32_t v = 0;
  for (uint8_t b : bytes) v = (v << 8) | b;
  return v;
}

// Takes one data element off the front of `in`.
bool Take(std::span<const uint8_t>& in, Element& e) {
  if (in.empty()) return false;
  const uint8_t head = in[0];
  e.type = head >> 3;
  const uint8_t sizeIndex = head & 7;
  in = in.subspan(1);
  size_t size = 0;
  if (e.type == 0) {
    size = 0;
  } else if (sizeIndex <= 4) {
    size = size_t{1} << sizeIndex;
  } else {
    const size_t lengthBytes = size_t{1} << (sizeIndex - 5);
    if (in.size() < lengthBytes) return false;
    size = BigEndian(in.first(lengthBytes));
    in = in.subspan(lengthBytes);
  }
  if (in.size() < size) return false;
  e.data = in.first(size);
  in = in.subspan(size);
  return true;
}

// A UUID in any of its three sizes, as its 16-bit short form when it has one.
std::optional<uint32_t> ShortUuid(const Element& e) {
  if (e.type != kUuid) return std::nullopt;
  if (e.data.size() == 2 || e.data.size() == 4) return BigEndian(e.data);
  static constexpr uint8_t kBase[12] = {0x00, 0x00, 0x10, 0x00, 0x80, 0x00,
                                        0x00, 0x80, 0x5F, 0x9B, 0x34, 0xFB};
  if (e.data.size() == 16 && std::equal(std::begin(kBase), std::end(kBase), e.data.begin() + 4))
    return BigEndian(e.data.first(4));
  return std::nullopt;
}

// The channel in a protocol descriptor list, or in each list of an alternative.
std::optional<int> ChannelIn(const Element& list, int depth) {
  if (depth > kMaxDepth) return std::nullopt;
  if (list.type == kAlternative) {
    std::span<const uint8_t> rest = list.data;
    Element inner;
    while (Take(rest, inner))
      if (auto channel = ChannelIn(inner, depth + 1)) return channel;
    return std::nullopt;
  }
  if (list.type != kSequence) return std::nullopt;
  std::span<const uint8_t> descriptors = list.data;
  Element descriptor;
  while (Take(descriptors, descriptor)) {
    if (descriptor.type != kSequence) continue;
    std::span<const uint8_t> parts = descriptor.data;
    Element protocol, parameter;
    if (!Take(parts, protocol) || ShortUuid(protocol) != kRfcommProtocol) continue;
    if (!Take(parts, parameter) || parameter.type != kUint || parameter.data.empty()) continue;
    const uint32_t channel = BigEndian(parameter.data);
    if (channel >= 1 && channel <= 30) return static_cast<int>(channel);
  }
  return std::nullopt;
}

void PutBigEndian(std::vector<uint8_t>& out, uint16_t v) {
  out.push_back(static_cast<uint8_t>(v >> 8));
  out.push_back(static_cast<uint8_t>(v));
}

}  // namespace

std::vector<uint8_t> SerialPortRequest(uint16_t transaction,
                                       std::span<const uint8_t> continuation) {
  const size_t stateLength = std::min(continuation.size(), kMaxContinuation);
  std::vector<uint8_t> params = {0x35,
                                 0x03,
                                 0x19,
                                 kSerialPortClass >> 8,
                                 kSerialPortClass & 0xFF,  // search pattern
                                 0xFF,
                                 0xFF,  // maximum byte count
                                 0x35,
                                 0x03,
                                 0x09,
                                 0x00,
                                 kProtocolDescriptorList,  // attribute ids
                                 static_cast<uint8_t>(stateLength)};
  params.insert(params.end(), continuation.begin(), continuation.begin() + stateLength);
  std::vector<uint8_t> pdu = {kSearchAttributeRequest};
  PutBigEndian(pdu, transaction);
  PutBigEndian(pdu, static_cast<uint16_t>(params.size()));
  pdu.insert(pdu.end(), params.begin(), params.end());
  return pdu;
}

bool ReadResponse(std::span<const uint8_t> pdu, uint16_t transaction,
                  std::vector<uint8_t>& attributes, std::vector<uint8_t>& continuation) {
  if (pdu.size() < 5 || pdu[0] != kSearchAttributeResponse) return false;
  if (BigEndian(pdu.subspan(1, 2)) != transaction) return false;
  std::span<const uint8_t> params = pdu.subspan(5);
  if (BigEndian(pdu.subspan(3, 2)) != params.size() || params.size() < 3) return false;
  const size_t count = BigEndian(params.first(2));
  params = params.subspan(2);
  if (params.size() < count + 1) return false;
  const std::span<const uint8_t> lists = params.first(count);
  params = params.subspan(count);
  const size_t stateLength = params[0];
  if (stateLength > kMaxContinuation || params.size() != stateLength + 1) return false;
  attributes.insert(attributes.end(), lists.begin(), lists.end());
  continuation.assign(params.begin() + 1, params.end());
  return true;
}

std::optional<int> RfcommChannel(std::span<const uint8_t> attributeLists) {
  std::span<const uint8_t> in = attributeLists;
  Element all;
  if (!Take(in, all) || all.type != kSequence) return std::nullopt;
  std::span<const uint8_t> records = all.data;
  Element record;
  while (Take(records, record)) {
    if (record.type != kSequence) continue;
    std::span<const uint8_t> pairs = record.data;
    Element id, value;
    while (Take(pairs, id) && Take(pairs, value)) {
      if (id.type != kUint || id.data.size() != 2) break;
      if (BigEndian(id.data) != kProtocolDescriptorList) continue;
      if (auto channel = ChannelIn(value, 0)) return channel;
    }
  }
  return std::nullopt;
}

}  // namespace vmx::sdp
