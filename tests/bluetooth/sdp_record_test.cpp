// The service discovery bytes: the request as it goes on the air, and the
// reading of answers from devices that may send anything.
#include "bluetooth/sdp_record.h"

#include <gmock/gmock.h>

#include "bluetooth/bt_address.h"

namespace vmx::sdp {
namespace {

using Bytes = std::vector<uint8_t>;

// A serial port record as such boards send it: L2CAP, then RFCOMM channel 1.
const Bytes kSerialPortLists = {0x35, 0x13,                    // all records
                                0x35, 0x11,                    // one record
                                0x09, 0x00, 0x04,              // ProtocolDescriptorList
                                0x35, 0x0C,                    //
                                0x35, 0x03, 0x19, 0x01, 0x00,  // L2CAP
                                0x35, 0x05, 0x19, 0x00, 0x03,  // RFCOMM
                                0x08, 0x01};                   // channel 1

// Data elements for the rarer shapes.
Bytes List(uint8_t head, std::initializer_list<Bytes> parts) {
  Bytes inner;
  for (const Bytes& p : parts) inner.insert(inner.end(), p.begin(), p.end());
  Bytes out = {head, static_cast<uint8_t>(inner.size())};
  out.insert(out.end(), inner.begin(), inner.end());
  return out;
}
Bytes Des(std::initializer_list<Bytes> parts) {
  return List(0x35, parts);
}
Bytes Alternative(std::initializer_list<Bytes> parts) {
  return List(0x3D, parts);
}
Bytes Attribute(uint8_t id) {
  return {0x09, 0x00, id};
}
Bytes Uuid16(uint8_t low) {
  return {0x19, 0x00, low};
}

Bytes Response(uint16_t transaction, const Bytes& lists, const Bytes& continuation) {
  Bytes params = {static_cast<uint8_t>(lists.size() >> 8), static_cast<uint8_t>(lists.size())};
  params.insert(params.end(), lists.begin(), lists.end());
  params.push_back(static_cast<uint8_t>(continuation.size()));
  params.insert(params.end(), continuation.begin(), continuation.end());
  Bytes pdu = {0x07, static_cast<uint8_t>(transaction >> 8), static_cast<uint8_t>(transaction),
               static_cast<uint8_t>(params.size() >> 8), static_cast<uint8_t>(params.size())};
  pdu.insert(pdu.end(), params.begin(), params.end());
  return pdu;
}

TEST(SdpRequest, AsksForTheSerialPortProtocolList) {
  EXPECT_EQ(SerialPortRequest(1, {}),
            (Bytes{0x06, 0x00, 0x01, 0x00, 0x0D, 0x35, 0x03, 0x19, 0x11, 0x01, 0xFF, 0xFF, 0x35,
                   0x03, 0x09, 0x00, 0x04, 0x00}));
  const Bytes state = {0xAA, 0xBB};
  const Bytes again = SerialPortRequest(0x0102, state);
  EXPECT_EQ(Bytes(again.begin(), again.begin() + 5), (Bytes{0x06, 0x01, 0x02, 0x00, 0x0F}));
  EXPECT_EQ(Bytes(again.end() - 3, again.end()), (Bytes{0x02, 0xAA, 0xBB}));
}

TEST(SdpResponse, PartsAreJoinedAcrossContinuations) {
  Bytes attributes, continuation;
  const Bytes first(kSerialPortLists.begin(), kSerialPortLists.begin() + 9);
  const Bytes rest(kSerialPortLists.begin() + 9, kSerialPortLists.end());
  ASSERT_TRUE(ReadResponse(Response(1, first, {0x01, 0x02}), 1, attributes, continuation));
  EXPECT_EQ(continuation, (Bytes{0x01, 0x02}));
  EXPECT_FALSE(RfcommChannel(attributes)) << "cut short";
  ASSERT_TRUE(ReadResponse(Response(2, rest, {}), 2, attributes, continuation));
  EXPECT_TRUE(continuation.empty());
  EXPECT_EQ(RfcommChannel(attributes), 1);
}

TEST(SdpResponse, ErrorsAndMalformedAnswersAreRefused) {
  Bytes attributes, continuation;
  EXPECT_FALSE(ReadResponse(Response(1, kSerialPortLists, {}), 2, attributes, continuation))
      << "another transaction";
  EXPECT_FALSE(
      ReadResponse(Bytes{0x01, 0x00, 0x01, 0x00, 0x02, 0x00, 0x03}, 1, attributes, continuation))
      << "error response";
  Bytes lying = Response(1, kSerialPortLists, {});
  lying[6] += 1;  // byte count beyond the answer
  EXPECT_FALSE(ReadResponse(lying, 1, attributes, continuation));
  Bytes longState = Response(1, {}, Bytes(17, 0));
  EXPECT_FALSE(ReadResponse(longState, 1, attributes, continuation));
  EXPECT_FALSE(ReadResponse(Bytes{0x07, 0x00}, 1, attributes, continuation));
  EXPECT_TRUE(attributes.empty());
}

TEST(SdpChannel, FoundInAnyUuidSizeAndAlternative) {
  EXPECT_EQ(RfcommChannel(kSerialPortLists), 1);
  // RFCOMM as a 128-bit UUID, channel 12, after another attribute.
  const Bytes rfcomm128 = {0x1C, 0x00, 0x00, 0x00, 0x03, 0x00, 0x00, 0x10, 0x00,
                           0x80, 0x00, 0x00, 0x80, 0x5F, 0x9B, 0x34, 0xFB};
  EXPECT_EQ(RfcommChannel(Des({Des({Attribute(1), Des({{0x19, 0x11, 0x01}}), Attribute(4),
                                    Des({Des({rfcomm128, {0x08, 0x0C}})})})})),
            12);
  // An alternative of two lists, only the second with RFCOMM, channel 5; the
  // first record has none.
  EXPECT_EQ(RfcommChannel(Des(
                {Des({Attribute(4), Des({Des({Uuid16(0x01)})})}),
                 Des({Attribute(4), Alternative({Des({Des({Uuid16(0x01)})}),
                                                 Des({Des({Uuid16(0x03), {0x08, 0x05}})})})})})),
            5);
}

TEST(SdpChannel, NothingUsableGivesNoChannel) {
  Bytes noRfcomm = kSerialPortLists;
  noRfcomm[18] = 0x07;  // another protocol
  EXPECT_FALSE(RfcommChannel(noRfcomm));
  Bytes channelZero = kSerialPortLists;
  channelZero.back() = 0;
  EXPECT_FALSE(RfcommChannel(channelZero));
  EXPECT_FALSE(RfcommChannel(Bytes{}));
  EXPECT_FALSE(RfcommChannel(Bytes{0x35, 0x00}));
  // Every cut of a good answer is read without harm.
  for (size_t n = 0; n < kSerialPortLists.size(); ++n)
    EXPECT_FALSE(RfcommChannel(Bytes(kSerialPortLists.begin(), kSerialPortLists.begin() + n)));
  // A length field claiming four gigabytes.
  EXPECT_FALSE(RfcommChannel(Bytes{0x37, 0xFF, 0xFF, 0xFF, 0xFF, 0x35}));
  // Alternatives nested far deeper than any record, around a good list.
  Bytes deep = Des({Des({Uuid16(0x03), {0x08, 0x02}})});
  for (int i = 0; i < 40; ++i) deep = Alternative({deep});
  EXPECT_FALSE(RfcommChannel(Des({Des({Attribute(4), deep})})));
  EXPECT_FALSE(RfcommChannel(Bytes{0x35, 0x04, 0x35, 0x02, 0x09, 0x00}));
}

TEST(BtAddressText, MostSignificantByteFirstOnScreen) {
  const auto address = ParseBtAddress("00:11:22:aa:BB:Cc");
  ASSERT_TRUE(address);
  EXPECT_EQ((*address)[0], 0xCC);
  EXPECT_EQ((*address)[5], 0x00);
  EXPECT_EQ(FormatBtAddress(*address), "00:11:22:AA:BB:CC");
  EXPECT_FALSE(ParseBtAddress("00:11:22:AA:BB"));
  EXPECT_FALSE(ParseBtAddress("00-11-22-AA-BB-CC"));
  EXPECT_FALSE(ParseBtAddress("00:11:22:AA:BB:CG"));
}

}  // namespace
}  // namespace vmx::sdp
