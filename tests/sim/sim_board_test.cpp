// The simulated board's own side of the line: what it answers and what a
// written record does to it.
#include <gtest/gtest.h>

#include <string>

#include "sim/sim_board.h"

namespace vmx::sim {
namespace {

std::string Hex(std::span<const uint8_t> bytes) {
  static const char* d = "0123456789ABCDEF";
  std::string s;
  for (uint8_t b : bytes) s += {d[b >> 4], d[b & 15]};
  return s;
}

std::vector<uint8_t> Unhex(std::string_view s) {
  std::vector<uint8_t> out;
  for (size_t i = 0; i + 1 < s.size(); i += 2) out.push_back(std::stoi(std::string(s.substr(i, 2)), nullptr, 16));
  return out;
}

TEST(SimBoard, AnswersGetDeviceAndGetsWithCrTerminator) {
  SimBoard board({.rows = 3, .type = 5, .version = 4});
  EXPECT_EQ(board.Handle("80").bytes, "800504\r");
  const std::string info = board.Handle("81").bytes;
  ASSERT_EQ(info.size(), 107u);
  EXPECT_EQ(info.substr(0, 4), "8103") << "RowCount 3";
  EXPECT_EQ(board.Handle("87").bytes.size(), 163u);
  EXPECT_EQ(board.Handle("88").bytes.size(), 61u);
  EXPECT_EQ(board.Handle("85").bytes.size(), 117u);
  EXPECT_EQ(board.Handle("86").bytes.size(), 117u);
  EXPECT_EQ(board.Handle("82").bytes.size(), 65u);
}

TEST(SimBoard, ScheduleRowsComeInTurnNamedByTheirIndex) {
  SimBoard board({.rows = 3});
  for (int expected : {0, 1, 2, 0}) {
    const std::string r = board.Handle("83").bytes;
    ASSERT_EQ(r.size(), 67u);
    EXPECT_EQ(std::stoi(r.substr(2, 2), nullptr, 16), expected);
  }
  SimBoard none({.rows = 0});
  EXPECT_TRUE(none.Handle("83").bytes.empty());
}

TEST(SimBoard, SetInfoHonoursTheMasks) {
  SimBoard board;
  Info in;
  in.Minute = -1;  // 0xFF: keep the clock
  in.Channel.fill(-1);
  in.Channel[2] = 1234;
  EXPECT_EQ(board.Handle("01" + Hex(Encode(in))).bytes, "K");
  const Info live = Decode<Info>(Unhex(board.Handle("81").bytes.substr(2, 104)));
  EXPECT_EQ(live.Channel[2], 1234);
  EXPECT_EQ(board.With([](BoardState& s) { return s.config.Mode; }), 0) << "hand-set: Manual";

  Info clock;
  clock.Channel.fill(-1);
  clock.Year = 24, clock.Month = 6, clock.Day = 21, clock.Hour = 12, clock.Minute = 0;
  board.Handle("01" + Hex(Encode(clock)));
  const Info after = Decode<Info>(Unhex(board.Handle("81").bytes.substr(2, 104)));
  EXPECT_EQ(after.Year, 24);
  EXPECT_EQ(after.Month, 6);
  EXPECT_EQ(after.Day, 21);
  EXPECT_EQ(after.Hour, 12);
  EXPECT_EQ(after.Channel[2], 1234) << "0xFFFF leaves a channel alone";
}

TEST(SimBoard, WrittenRecordsAndRowsAreKept) {
  SimBoard board({.rows = 2});
  ScheduleRow row;
  row.Hour = 9;
  row.Color16[11] = 4096;
  std::vector<uint8_t> msg{1};
  const auto img = Encode(row);
  msg.insert(msg.end(), img.begin(), img.end());
  EXPECT_EQ(board.Handle("03" + Hex(msg)).bytes, "K");
  EXPECT_EQ(board.With([](BoardState& s) { return s.schedule[1].Color16[11]; }), 4096);
  EXPECT_TRUE(board.Handle("0301").bytes.empty()) << "wrong length: no answer";
  EXPECT_TRUE(board.Handle("02XY").bytes.empty());
  EXPECT_TRUE(board.Handle("99").bytes.empty());
}

TEST(SimBoard, ActionsToggleAndReset) {
  SimBoard board;
  EXPECT_EQ(board.Handle("7F02").bytes, "K");
  EXPECT_EQ(board.With([](BoardState& s) { return s.info.ActivityFlags & 1; }), 1);
  board.Handle("7F03");
  EXPECT_EQ(board.With([](BoardState& s) { return s.info.ActivityFlags & 2; }), 2);
  board.With([](BoardState& s) { return s.config.FanLow = 1; });
  board.Handle("7F04");
  EXPECT_EQ(board.With([](BoardState& s) { return s.config.FanLow; }), 77);
  board.Handle("7F01");
  const Info live = Decode<Info>(Unhex(board.Handle("81").bytes.substr(2, 104)));
  EXPECT_EQ(live.StatusFlags & 0x10, 0x10) << "saving";
}

TEST(SimBoard, BootloaderTakesBlocksAndResets) {
  SimBoard board;
  EXPECT_TRUE(board.Handle("7F00").bytes.empty());
  ASSERT_TRUE(board.InBootloader());
  EXPECT_EQ(board.Handle("80").bytes, "800404\r");
  EXPECT_EQ(board.Handle("81").bytes, "81800000800000\r");
  std::vector<uint8_t> block{0x40, 0x00};
  for (int i = 0; i < 64; ++i) block.push_back(static_cast<uint8_t>(i));
  EXPECT_EQ(board.Handle("02" + Hex(block)).bytes, "K");
  EXPECT_EQ(board.With([](BoardState& s) { return s.flash[0x40 + 63]; }), 63);
  EXPECT_EQ(board.Handle("01000000000000").bytes, "K");
  EXPECT_FALSE(board.InBootloader());
  EXPECT_EQ(board.Handle("80").bytes, "800504\r");
}

TEST(SimBoard, BootloaderGuardsItselfAndFollowsItsJumper) {
  SimBoard board(
      {.pageSize = 256, .flashSize = 16384, .inBootloader = true, .versionAfterUpdate = 5});
  ASSERT_TRUE(board.InBootloader());
  EXPECT_EQ(board.Handle("81").bytes, "81000100400000\r");
  // 0x3C00 is the bootloader's first byte: a block there changes nothing.
  std::vector<uint8_t> block{0x00, 0x3C};
  block.resize(66, 0x11);
  board.Handle("02" + Hex(block));
  EXPECT_EQ(board.BlocksIntoBootloader(), 1);
  EXPECT_EQ(board.Flash()[0x3C00], 0xFF);
  block[1] = 0x3B;
  board.Handle("02" + Hex(block));
  EXPECT_EQ(board.Flash()[0x3B3F], 0x11);
  board.SetJumper(true);
  EXPECT_EQ(board.Handle("01000000000000").bytes, "K");
  EXPECT_TRUE(board.InBootloader()) << "the jumper brings it back";
  board.SetJumper(false);
  board.Handle("01000000000000");
  EXPECT_EQ(board.Handle("80").bytes, "800505\r") << "the written image's version";
  board.SetGeometry(64, 8192);
  board.Handle("7F00");
  EXPECT_EQ(board.Handle("81").bytes, "81400000200000\r");
}

TEST(SimBoard, FaultsApplyToTheirCountAndCommand) {
  SimBoard board;
  board.InjectFault(Fault::ShortReply, 2, "81");
  EXPECT_EQ(board.Handle("80").bytes, "800504\r") << "another command is served normally";
  EXPECT_EQ(board.Handle("81").bytes.size(), 106u);
  EXPECT_EQ(board.Handle("81").bytes.size(), 106u);
  EXPECT_EQ(board.Handle("81").bytes.size(), 107u);

  board.InjectFault(Fault::WrongEcho);
  EXPECT_EQ(board.Handle("80").bytes.substr(0, 2), "81");
  board.InjectFault(Fault::LowerCase);
  board.With([](BoardState& s) { return s.config.FanHigh = 0xAB; });
  EXPECT_NE(board.Handle("82").bytes.find("ab"), std::string::npos);
  board.InjectFault(Fault::CrLf);
  EXPECT_EQ(board.Handle("80").bytes, "800504\r\n");
  board.InjectFault(Fault::ZeroAck);
  EXPECT_EQ(board.Handle("7F02").bytes, std::string(1, '\0'));
  board.InjectFault(Fault::InvalidHex);
  EXPECT_NE(board.Handle("80").bytes.find('G'), std::string::npos);
  board.InjectFault(Fault::HangUp);
  EXPECT_TRUE(board.Handle("80").hangUp);
  board.InjectFault(Fault::Lost, 1, "7F00");
  EXPECT_TRUE(board.Handle("7F00").bytes.empty());
  EXPECT_FALSE(board.InBootloader()) << "a lost line does nothing";
  board.InjectFault(Fault::Silence, 0);
  EXPECT_TRUE(board.Handle("80").bytes.empty());
  EXPECT_TRUE(board.Handle("80").bytes.empty()) << "count 0 lasts until cleared";
  board.ClearFaults();
  EXPECT_FALSE(board.Handle("80").bytes.empty());
  board.SetIdentity(12, 1);
  EXPECT_EQ(board.Handle("80").bytes, "800C01\r");
}

TEST(SimBoard, LiveChannelsFollowTheScheduleInAuto) {
  SimBoard board({.rows = 2});
  board.With([](BoardState& s) {
    s.config.Mode = 1;
    s.schedule[0].Hour = 0;
    s.schedule[1].Hour = 12;
    s.schedule[0].Color16.fill(0);
    s.schedule[1].Color16.fill(4000);
    s.clock.Set(2024, 6, 21, 6, 0, 0);
    return 0;
  });
  const Info live = Decode<Info>(Unhex(board.Handle("81").bytes.substr(2, 104)));
  EXPECT_NEAR(live.Channel[0], 2000, 5) << "halfway between the rows";
  EXPECT_EQ(live.ActiveRow, 0);
}

}  // namespace
}  // namespace vmx::sim
