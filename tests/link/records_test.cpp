// Byte images are written out by hand at the board's offsets, so a field that
// moves, changes width or loses its sign shows up here.
#include <gtest/gtest.h>

#include <numeric>
#include <vector>

#include "link/records.h"

namespace vmx {
namespace {

template <class R>
Image<R> Pattern() {
  Image<R> img{};
  for (size_t i = 0; i < img.size(); ++i) img[i] = static_cast<uint8_t>(0xA0 + i * 13);
  return img;
}

template <class R>
void ExpectRoundTrip() {
  const auto img = Pattern<R>();
  EXPECT_EQ(Encode(Decode<R>(img)), img) << "every byte, reserved ones included, survives";
}

template <class R>
void ExpectTableCoversImage() {
  std::vector<int> owner(R::Size, 0);
  for (const auto& f : R::Fields().Rows()) {
    ASSERT_LE(f.offset + f.width, R::Size) << f.name;
    for (int i = 0; i < f.width; ++i) owner[f.offset + i]++;
  }
  for (size_t i = 0; i < R::Size; ++i) EXPECT_EQ(owner[i], 1) << "byte " << i;
}

TEST(Records, FieldTablesCoverEveryByteOnce) {
  ExpectTableCoversImage<DeviceIdent>();
  ExpectTableCoversImage<Info>();
  ExpectTableCoversImage<Config>();
  ExpectTableCoversImage<ScheduleRow>();
  ExpectTableCoversImage<Expert>();
  ExpectTableCoversImage<ExpertWeather>();
  ExpectTableCoversImage<Chart>();
  ExpectTableCoversImage<Health>();
  ExpectTableCoversImage<BootInfo>();
}

TEST(Records, EveryRecordRoundTripsItsBytes) {
  ExpectRoundTrip<DeviceIdent>();
  ExpectRoundTrip<Info>();
  ExpectRoundTrip<Config>();
  ExpectRoundTrip<ScheduleRow>();
  ExpectRoundTrip<Expert>();
  ExpectRoundTrip<ExpertWeather>();
  ExpectRoundTrip<Chart>();
  ExpectRoundTrip<Health>();
  ExpectRoundTrip<BootInfo>();
}

TEST(Records, InfoFieldsAtTheirOffsets) {
  Image<Info> img{};
  img[0] = 24;                   // RowCount
  img[1] = 0x23;                 // ActivityFlags
  img[2] = 0x10;                 // ErrorFlags
  img[4] = 0xFF;                 // ActiveRow -1
  img[5] = 99;                   // Centisecond
  img[6] = 59, img[7] = 30, img[8] = 23, img[9] = 31, img[10] = 12, img[11] = 26;
  img[12] = 0x5A;                // reserved
  img[16] = 0xC3;                // reserved
  img[17] = 0x00, img[18] = 0x10;  // Channel0 = 4096
  img[39] = 0xFF, img[40] = 0xFF;  // Channel11 = -1
  img[42] = 0x77;                // reserved
  img[44] = 0x24, img[45] = 0x5E;  // InputVoltage 24100
  img[46] = 0xFF, img[47] = 0x7F;  // TempWater: no sensor
  img[48] = 0x80, img[49] = 0x01;  // TempBoard 38.4
  img[50] = 0x38, img[51] = 0xFF;  // TempSlave -20.0

  const Info info = Decode<Info>(img);
  EXPECT_EQ(info.RowCount, 24);
  EXPECT_EQ(info.ActivityFlags, 0x23);
  EXPECT_EQ(info.ErrorFlags, 0x10);
  EXPECT_EQ(info.ActiveRow, -1);
  EXPECT_EQ(info.Centisecond, 99);
  EXPECT_EQ(info.Second, 59);
  EXPECT_EQ(info.Minute, 30);
  EXPECT_EQ(info.Hour, 23);
  EXPECT_EQ(info.Day, 31);
  EXPECT_EQ(info.Month, 12);
  EXPECT_EQ(info.Year, 26);
  EXPECT_EQ(info.Channel[0], 4096);
  EXPECT_EQ(info.Channel[11], -1);
  EXPECT_EQ(info.InputVoltage, 24100);
  EXPECT_EQ(info.TempWater, 0x7FFF);
  EXPECT_EQ(info.TempBoard, 384);
  EXPECT_EQ(info.TempSlave, -200);
  EXPECT_EQ(Encode(info), img);
}

TEST(Records, ConfigAndScheduleRow) {
  Image<Config> c{};
  c[0] = 2, c[1] = 0x0F, c[2] = 77, c[3] = 200, c[6] = 1;
  c[7] = 7, c[18] = 15;                       // ColorName0, ColorName11
  c[19] = 0x05, c[20] = 0x00;                 // CloudP 5
  c[25] = 0x47, c[26] = 0x02;                 // StormD 583
  c[27] = 0x0D, c[28] = 0x02;                 // Lat 525
  c[29] = 0x4C, c[30] = 0xFF;                 // Lon -180
  const Config config = Decode<Config>(c);
  EXPECT_EQ(config.Mode, 2);
  EXPECT_EQ(config.Flag, 0x0F);
  EXPECT_EQ(config.FanLow, 77);
  EXPECT_EQ(config.ColorName[0], 7);
  EXPECT_EQ(config.ColorName[11], 15);
  EXPECT_EQ(config.CloudP, 5);
  EXPECT_EQ(config.StormD, 583);
  EXPECT_EQ(config.Lat, 525);
  EXPECT_EQ(config.Lon, -180);
  EXPECT_EQ(Encode(config), c);

  Image<ScheduleRow> r{};
  r[0] = 24, r[1] = 0;
  r[2] = 0xF0, r[3] = 0xD8;                   // Alt -10000
  r[4] = 0x00, r[5] = 0x08;                   // Color160 2048
  r[26] = 0x00, r[27] = 0x10;                 // Color1611 4096
  r[28] = 0x98, r[29] = 0x08;                 // Timer 2200
  r[30] = 0xE5;                               // Switch, low bits the board's own
  const ScheduleRow row = Decode<ScheduleRow>(r);
  EXPECT_EQ(row.Hour, 24);
  EXPECT_EQ(row.Alt, -10000);
  EXPECT_EQ(row.Color16[0], 2048);
  EXPECT_EQ(row.Color16[11], 4096);
  EXPECT_EQ(row.Timer, 2200);
  EXPECT_EQ(row.Switch, 0xE5);
  EXPECT_EQ(Encode(row), r);
}

TEST(Records, ExpertAndWeather) {
  Image<Expert> e{};
  e[1] = 8, e[5] = 0x15, e[11] = 0xF6, e[12] = 0x9C;   // JMPMode, RC433Systems, TempOffset -1.0, ramp -100
  e[13] = 0xFA, e[14] = 0x00;                          // TempWaterLow 250
  e[29] = 0x0F, e[30] = 0x00;                          // ChartInterval 15
  e[31] = 10, e[32] = 31, e[33] = 3, e[34] = 0;       // standard time rule
  e[39] = 0xC4, e[40] = 0xFF;                          // Bias -60
  e[41] = 0x10, e[42] = 0x30;                          // Up
  e[55] = 0x34, e[56] = 0x12;                          // Step
  const Expert expert = Decode<Expert>(e);
  EXPECT_EQ(expert.JMPMode, 8);
  EXPECT_EQ(expert.RC433Systems, 0x15);
  EXPECT_EQ(expert.TempOffset, -10);
  EXPECT_EQ(expert.BalanceSumRamp, -100);
  EXPECT_EQ(expert.TempWaterLow, 250);
  EXPECT_EQ(expert.ChartInterval, 15);
  EXPECT_EQ(expert.StandardMonth, 10);
  EXPECT_EQ(expert.StandardDay, 31);
  EXPECT_EQ(expert.StandardHour, 3);
  EXPECT_EQ(expert.Bias, -60);
  EXPECT_EQ(expert.Up, 0x3010);
  EXPECT_EQ(expert.Step, 0x1234);
  EXPECT_EQ(Encode(expert), e);

  Image<ExpertWeather> w{};
  w[0] = 0xC8, w[4] = 0x2C, w[5] = 0x01;   // CloudStep 200, LightningP 300
  w[8] = 100, w[9] = 90, w[20] = 80;       // BalanceSum, Balance0, Balance11
  w[21] = 255, w[33] = 0x81, w[56] = 255;  // MoonColor160, LightningMask0, WeatherDelay11
  const ExpertWeather weather = Decode<ExpertWeather>(w);
  EXPECT_EQ(weather.CloudStep, 200);
  EXPECT_EQ(weather.LightningP, 300);
  EXPECT_EQ(weather.BalanceSum, 100);
  EXPECT_EQ(weather.Balance[0], 90);
  EXPECT_EQ(weather.Balance[11], 80);
  EXPECT_EQ(weather.MoonColor16[0], 255);
  EXPECT_EQ(weather.LightningMask[0], 0x81);
  EXPECT_EQ(weather.WeatherDelay[11], 255);
  EXPECT_EQ(Encode(weather), w);
}

TEST(Records, ChartHealthIdentAndBootInfo) {
  Image<Chart> c{};
  c[0] = 0xFB, c[1] = 0x00;   // newest sample 25.1
  c[78] = 0xFF, c[79] = 0x7F; // oldest empty
  const Chart chart = Decode<Chart>(c);
  EXPECT_EQ(chart.Sample[0], 251);
  EXPECT_EQ(chart.Sample[39], 0x7FFF);
  EXPECT_EQ(EmptyChart().Sample[17], 0x7FFF);

  // A counter is its low 16 bits, then its high 8 bits.
  Image<Health> h{};
  h[0] = 0x56, h[1] = 0x34, h[2] = 0x12;
  h[24] = 0xFF, h[25] = 0xFF, h[26] = 0xFF;
  h[27] = 0x2A, h[28] = 0x01;
  const Health health = Decode<Health>(h);
  EXPECT_EQ(health.Counter[0], 0x123456u);
  EXPECT_EQ(health.Counter[8], 0xFFFFFFu);
  EXPECT_EQ(health.PowerCycles, 298);
  EXPECT_EQ(Encode(health), h);

  const uint8_t id[] = {5, 4};
  EXPECT_EQ(Decode<DeviceIdent>(id).DeviceType, 5);
  EXPECT_EQ(Decode<DeviceIdent>(id).FirmwareVersion, 4);

  const uint8_t boot[] = {0x80, 0x00, 0x00, 0x80, 0x00, 0x00};
  EXPECT_EQ(Decode<BootInfo>(boot).PageSize, 128);
  EXPECT_EQ(Decode<BootInfo>(boot).FlashSize, 32768u);
}

TEST(FieldTable, KeysAreTheSettingsFileNames) {
  // Per-channel keys carry the channel number with no separator.
  for (const char* key : {"ColorName0", "ColorName11", "CloudP", "StormD", "Lat", "Lon"})
    EXPECT_NE(Config::Fields().Find(key), nullptr) << key;
  for (const char* key : {"MoonColor160", "MoonColor1611", "Balance11", "LightningMask0",
                          "WeatherDelay11", "BalanceSum"})
    EXPECT_NE(ExpertWeather::Fields().Find(key), nullptr) << key;
  for (const char* key : {"Color160", "Color1611", "Timer", "Switch", "Alt"})
    EXPECT_NE(ScheduleRow::Fields().Find(key), nullptr) << key;
  for (const char* key : {"StandardDayOfWeek", "DaylightHour", "Bias", "Previous", "Settings"})
    EXPECT_NE(Expert::Fields().Find(key), nullptr) << key;
  EXPECT_NE(Config::Fields().Find("fanlow"), nullptr) << "keys match without regard to case";
  EXPECT_EQ(Config::Fields().Find("Channel0"), nullptr);
}

TEST(FieldTable, SetCutsToTheFieldWidth) {
  Config c;
  Config::Fields().Find("FanLow")->set(c, 0, 300);
  EXPECT_EQ(c.FanLow, 44);
  Config::Fields().Find("Lat")->set(c, 0, 70000);
  EXPECT_EQ(c.Lat, 70000 - 65536);
  Health h;
  const auto* counter = Health::Fields().Find("Counter2");
  counter->set(h, counter->index, 0x1FFFFFF);
  EXPECT_EQ(h.Counter[2], 0xFFFFFFu);
  ScheduleRow r;
  const auto* color = ScheduleRow::Fields().Find("Color165");
  color->set(r, color->index, -5);
  EXPECT_EQ(r.Color16[5], -5);
  EXPECT_EQ(color->get(r, color->index), -5);
}

}  // namespace
}  // namespace vmx
