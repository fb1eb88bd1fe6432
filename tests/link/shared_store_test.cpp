#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "link/channel_pattern.h"
#include "link/record_requests.h"
#include "link/shared_store.h"

namespace vmx {
namespace {

Image<Info> InfoImage(uint8_t rows, uint8_t minute) {
  Image<Info> img{};
  img[0] = rows;
  img[7] = minute;
  img[17] = 0x34, img[18] = 0x12;  // Channel0
  return img;
}

std::array<uint8_t, 32> RowMessage(uint8_t index, uint8_t hour) {
  std::array<uint8_t, 32> m{};
  m[0] = index;
  m[1] = hour;
  return m;
}

TEST(SharedStore, StartsEmptyWithAnEmptyChart) {
  SharedStore s;
  EXPECT_EQ(s.Requests(), 0u);
  EXPECT_TRUE(s.schedule.empty());
  EXPECT_EQ(s.chart.Sample[0], 0x7FFF);
  EXPECT_EQ(s.chart.Sample[39], 0x7FFF);
}

TEST(SharedStore, NamedRequestSets) {
  EXPECT_EQ(request::ReadAllSet, 0x2A9u);
  EXPECT_EQ(request::InitialSet, 0xAA9u);
  EXPECT_EQ(request::ToggleStorm, 0x20000u);
}

TEST(SharedStore, EachWriteIsReadBackByItsRecordsRead) {
  const std::pair<uint32_t, uint32_t> readBacks[] = {
      {0x2, 0x1},       {0x4, 0x1},     {0x10, 0x8},     {0x40, 0x20},    {0x100, 0x80},
      {0x400, 0x200},   {0x8000, 0},    {0x20000, 0},    {0x550, 0x2A8},  {0x556, 0x2A9},
      {0x10 | 0x1, 0x8}};
  for (const auto& [writes, reads] : readBacks) EXPECT_EQ(ReadBackOf(writes), reads) << writes;
  const std::pair<RecordKind, uint32_t> writeBits[] = {
      {RecordKind::Info, 0x4},       {RecordKind::Config, 0x10},  {RecordKind::Expert, 0x100},
      {RecordKind::ExpertWeather, 0x400}, {RecordKind::Schedule, 0x40}, {RecordKind::Chart, 0},
      {RecordKind::Health, 0}};
  for (const auto& [record, bit] : writeBits)
    EXPECT_EQ(WriteBitOf(record), bit) << RecordName(record);
}

TEST(SharedStore, ChannelPatternsStandForTwelveNames) {
  const std::tuple<const char*, const char*, std::optional<int>> matches[] = {
      {"trb#", "trb0", 0},     {"trb#", "trb11", 11},     {"trb#", "trb12", std::nullopt},
      {"trb#", "trb01", std::nullopt}, {"trb#", "trb", std::nullopt}, {"trb#", "trbX", std::nullopt},
      {"trb#", "edt3", std::nullopt},  {"lblMoon", "lblMoon", -1},    {"lblMoon", "lblMoon0", std::nullopt},
      {"", "", std::nullopt}};
  for (const auto& [pattern, name, channel] : matches)
    EXPECT_EQ(MatchChannel(pattern, name), channel) << pattern << " " << name;
  const std::vector<std::string> names = ExpandChannels("edtMoon#");
  ASSERT_EQ(names.size(), 12u);
  EXPECT_EQ(names[0], "edtMoon0");
  EXPECT_EQ(names[11], "edtMoon11");
  EXPECT_EQ(ExpandChannels("lblMoon"), std::vector<std::string>{"lblMoon"});
  EXPECT_EQ(ChannelName("Color16#", 7), "Color167");
  EXPECT_EQ(ChannelName("Color16#", -1), "Color16#");
}

TEST(SharedStore, AcceptedInfoResizesTheRowTablesKeepingRows) {
  SharedStore s;
  s.Raise(0x1);
  s.AcceptInfo(InfoImage(3, 10));
  EXPECT_EQ(s.Requests(), 0u) << "ReadInfo is cleared";
  EXPECT_EQ(s.info.Channel[0], 0x1234);
  ASSERT_EQ(s.schedule.size(), 3u);
  EXPECT_EQ(s.RowMarks().size(), 3u);
  EXPECT_EQ(s.RowCount(), 3);

  s.schedule[1].Hour = 9;
  s.MarkRows(1, 1, 0);
  s.AcceptInfo(InfoImage(5, 10));
  ASSERT_EQ(s.schedule.size(), 5u);
  EXPECT_EQ(s.schedule[1].Hour, 9) << "existing entries are kept";
  EXPECT_TRUE(s.RowMarked(1));
  EXPECT_EQ(s.schedule[4].Hour, 0) << "new entries are zero";
  EXPECT_FALSE(s.RowMarked(4));

  s.AcceptInfo(InfoImage(0, 10));
  EXPECT_TRUE(s.schedule.empty());
  EXPECT_TRUE(s.RowMarks().empty());
  EXPECT_EQ(s.RowCount(), 0);
}

TEST(SharedStore, InfoAcceptedWhileAWriteIsPendingChangesNothing) {
  for (uint32_t pending : {0x2u, 0x4u}) {
    SharedStore s;
    s.AcceptInfo(InfoImage(2, 10));
    s.info.Channel[0] = 4096;
    s.SetRequests(pending | 0x1);
    s.AcceptInfo(InfoImage(7, 11));
    EXPECT_EQ(s.Requests(), pending) << "ReadInfo cleared, the write stays";
    EXPECT_EQ(s.info.Channel[0], 4096);
    EXPECT_EQ(s.info.Minute, 10);
    EXPECT_EQ(s.schedule.size(), 2u) << "table sizes untouched";
  }
}

TEST(SharedStore, ReadsDoNotOverwritePendingWrites) {
  SharedStore s;
  Image<Config> c{};
  c[2] = 99;
  s.config.FanLow = 7;
  s.SetRequests(0x8 | 0x10);
  s.AcceptConfig(c);
  EXPECT_EQ(s.config.FanLow, 7);
  EXPECT_EQ(s.Requests(), 0x10u);
  s.Clear(0x10);
  s.AcceptConfig(c);
  EXPECT_EQ(s.config.FanLow, 99);

  Image<Expert> e{};
  e[0] = 2;
  s.SetRequests(0x80 | 0x100);
  s.AcceptExpert(e);
  EXPECT_EQ(s.expert.FanMode, 0);
  EXPECT_EQ(s.Requests(), 0x100u);

  Image<ExpertWeather> w{};
  w[6] = 55;
  s.SetRequests(0x200 | 0x400);
  s.AcceptExpertWeather(w);
  EXPECT_EQ(s.weather.CloudAlpha, 0);
  s.SetRequests(0x200);
  s.AcceptExpertWeather(w);
  EXPECT_EQ(s.weather.CloudAlpha, 55);
  EXPECT_EQ(s.Requests(), 0u);

  Image<Chart> ch{};
  s.SetRequests(0x800 | 0x1000);
  s.AcceptChart(ch);
  EXPECT_EQ(s.chart.Sample[0], 0);
  EXPECT_EQ(s.Requests(), 0x1000u);
  Image<Health> h{};
  h[27] = 3;
  s.AcceptHealth(h);
  EXPECT_EQ(s.health.PowerCycles, 3);
  EXPECT_EQ(s.Requests(), 0u);
}

TEST(SharedStore, RowsWithNegativeOrTooLargeIndexAreDropped) {
  SharedStore s;
  s.AcceptInfo(InfoImage(4, 0));
  EXPECT_TRUE(s.AcceptRow(RowMessage(3, 17)));
  EXPECT_EQ(s.schedule[3].Hour, 17);
  for (uint8_t bad : {uint8_t{4}, uint8_t{0x7F}, uint8_t{0x80}, uint8_t{0xFF}})
    EXPECT_FALSE(s.AcceptRow(RowMessage(bad, 5))) << int(bad);
  for (const auto& row : s.schedule) EXPECT_NE(row.Hour, 5);
}

TEST(SharedStore, ARowEditedDuringTheScheduleReadKeepsTheEdit) {
  SharedStore s;
  s.AcceptInfo(InfoImage(4, 0));
  s.schedule[2].Hour = 9;
  s.MarkRows(2, 1, 0);
  s.Raise(request::WriteSchedule);
  EXPECT_FALSE(s.AcceptRow(RowMessage(2, 17)));
  EXPECT_EQ(s.schedule[2].Hour, 9) << "the edit waits to be written";
  EXPECT_TRUE(s.AcceptRow(RowMessage(1, 17))) << "unmarked rows still arrive";

  // Requests dropped at a new connection: a mark left behind keeps nothing.
  s.SetRequests(0);
  EXPECT_TRUE(s.AcceptRow(RowMessage(2, 17)));
  EXPECT_EQ(s.schedule[2].Hour, 17);
}

TEST(SharedStore, PreparedInfoIsMaskedOnTheWireOnly) {
  SharedStore s;
  s.info.Minute = 42;
  s.info.Channel[3] = 1000;
  s.info.Reserved12[0] = 0x33;
  std::array<uint8_t, 132> payload{};

  s.SetRequests(0x2 | 0x4);
  s.PrepareInfoTime(payload);
  EXPECT_EQ(s.Requests(), 0x4u);
  EXPECT_EQ(payload[7], 42);
  for (int off = 17; off < 41; ++off) EXPECT_EQ(payload[off], 0xFF) << off;
  EXPECT_EQ(payload[12], 0x33) << "reserved bytes go back unchanged";

  s.PrepareInfoChannels(payload);
  EXPECT_EQ(s.Requests(), 0u);
  EXPECT_EQ(payload[7], 0xFF);
  EXPECT_EQ(payload[17 + 6], 0xE8);
  EXPECT_EQ(payload[17 + 7], 0x03);

  EXPECT_EQ(s.info.Minute, 42) << "the shared record keeps its values";
  EXPECT_EQ(s.info.Channel[3], 1000);
}

TEST(SharedStore, PreparedRecordsClearTheirWriteBit) {
  SharedStore s;
  std::array<uint8_t, 132> payload{};
  s.config.Lon = -1;
  s.expert.Bias = 60;
  s.weather.WeatherDelay[11] = 255;
  s.SetRequests(0x10 | 0x100 | 0x400 | 0x1);
  s.PrepareConfig(payload);
  EXPECT_EQ(payload[29], 0xFF);
  EXPECT_EQ(payload[30], 0xFF);
  s.PrepareExpert(payload);
  EXPECT_EQ(payload[39], 60);
  s.PrepareExpertWeather(payload);
  EXPECT_EQ(payload[56], 255);
  EXPECT_EQ(s.Requests(), 0x1u);
}

TEST(SharedStore, RowsAreTakenLowestFirstAndTheBitGoesWhenNoneIsLeft) {
  SharedStore s;
  s.AcceptInfo(InfoImage(6, 0));
  s.schedule[1].Hour = 8;
  s.schedule[4].Hour = 20;
  s.MarkRows(4, 1, 0);
  s.MarkRows(1, 1, 0);
  s.SetRequests(0x40);
  std::array<uint8_t, 132> payload{};

  ASSERT_TRUE(s.PrepareRow(payload));
  EXPECT_EQ(payload[0], 1);
  EXPECT_EQ(payload[1], 8);
  EXPECT_FALSE(s.RowMarked(1));
  EXPECT_EQ(s.Requests(), 0x40u);

  ASSERT_TRUE(s.PrepareRow(payload));
  EXPECT_EQ(payload[0], 4);
  EXPECT_EQ(payload[1], 20);

  EXPECT_FALSE(s.PrepareRow(payload));
  EXPECT_EQ(s.Requests(), 0u);

  SharedStore empty;
  empty.SetRequests(0x40 | 0x8);
  EXPECT_FALSE(empty.PrepareRow(payload)) << "RowCount 0: nothing to send";
  EXPECT_EQ(empty.Requests(), 0x8u);
}

}  // namespace
}  // namespace vmx
