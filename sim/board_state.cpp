#include "sim/board_state.h"

#include <algorithm>
#include <cmath>
#include <ctime>

namespace vmx::sim {
namespace {

using Clock = std::chrono::steady_clock;
constexpr double kPi = 3.14159265358979323846;

// Days since 2000-01-01 of a proleptic Gregorian date.
long DaysFromCivil(int y, int m, int d) {
  y -= m <= 2;
  const long era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<long>(doe) - 719468 - 10957;
}

void CivilFromDays(long z, int& y, int& m, int& d) {
  z += 719468 + 10957;
  const long era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  y = static_cast<int>(yoe) + static_cast<int>(era) * 400 + (m <= 2);
}

// A plausible reef day: sunrise at 7:00, noon at 14:30, dark at 22:00; channel
// weights give blues more than whites and leave the moonlight channel dark.
constexpr std::array<uint8_t, kChannels> kColorNames{7, 11, 4, 5, 8, 12, 2, 3, 13, 15, 6, 0};
constexpr std::array<double, kChannels> kWeights{0.8, 1.0, 0.9, 0.6, 0.5, 0.7,
                                                 0.3, 0.3, 0.5, 0.2, 0.0, 0.0};

}  // namespace

BoardClock::BoardClock() : anchor_(Clock::now()) {
  const std::time_t t = std::time(nullptr);
  std::tm tm{};
  localtime_r(&t, &tm);
  Set(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec);
}

void BoardClock::Set(int year, int month, int day, int hour, int minute, int second) {
  base_ = DaysFromCivil(year, month, day) * 86400.0 + hour * 3600 + minute * 60 + second;
  anchor_ = Clock::now();
}

void BoardClock::SetTimeLapse(int factor) {
  base_ = Now();
  anchor_ = Clock::now();
  lapse_ = std::max(1, factor);
}

double BoardClock::Now() const {
  return base_ + std::chrono::duration<double>(Clock::now() - anchor_).count() * lapse_;
}

void BoardClock::Fill(Info& info) const {
  const double now = Now();
  const long days = static_cast<long>(std::floor(now / 86400));
  const double secOfDay = now - days * 86400.0;
  int y = 0, m = 0, d = 0;
  CivilFromDays(days, y, m, d);
  const auto whole = static_cast<long>(secOfDay);
  info.Centisecond = static_cast<uint8_t>((secOfDay - whole) * 100);
  info.Second = static_cast<int8_t>(whole % 60);
  info.Minute = static_cast<int8_t>(whole / 60 % 60);
  info.Hour = static_cast<int8_t>(whole / 3600);
  info.Day = static_cast<int8_t>(d);
  info.Month = static_cast<int8_t>(m);
  info.Year = static_cast<int8_t>(y - 2000);
}

BoardState::BoardState(int rowCount) : rows(std::clamp(rowCount, 0, 127)), flash(65536, 0xFF) {
  bootInfo.PageSize = 128;
  bootInfo.FlashSize = 32768;
  info.RowCount = static_cast<uint8_t>(rows);
  info.InputVoltage = 24100;
  info.TempWater = 251;
  info.TempBoard = 384;
  info.TempSlave = kNoTemperature;
  health.Counter = {0, 12, 310, 5400, 412000, 0, 3, 250000, 17};
  health.PowerCycles = 42;
  LoadReefDefaults();
}

void BoardState::LoadReefDefaults() {
  config = Config{};
  config.Mode = ModeField(BoardMode::Auto);
  config.Flag = config_flag::Display20x4;
  config.FanLow = 77;
  config.FanHigh = 200;
  config.LCDBLMin = 30;
  config.LCDBLMax = 220;
  config.TimeLapse = 1;
  config.ColorName = kColorNames;
  config.CloudP = 5;    // about 6.6 clouds a day
  config.CloudD = 546;  // of two minutes
  config.StormP = 3;    // about two thunderstorms a week
  config.StormD = 583;  // of half an hour
  config.Lat = 525;
  config.Lon = 134;

  expert = Expert{};
  expert.PWMPrescaler = 5;
  expert.TWIBitrate = 17;
  expert.LCDBLNight = 10;
  expert.ChartScale = 5;
  expert.TempWaterLow = 250;
  expert.TempWaterHigh = 265;
  expert.TempCoolLow = 270;
  expert.TempCoolHigh = 280;
  expert.TempHeatLow = 235;
  expert.TempHeatHigh = 245;
  expert.CloudTempWater = 290;
  expert.CloudTempBoard = 600;
  expert.ChartInterval = 15;
  expert.StandardMonth = 10;
  expert.StandardDay = 31;
  expert.StandardHour = 3;
  expert.DaylightMonth = 3;
  expert.DaylightDay = 31;
  expert.DaylightHour = 2;
  expert.Bias = 60;

  weather = ExpertWeather{};
  weather.CloudStep = 200;
  weather.StormStep = 800;
  weather.LightningP = 300;
  weather.CloudAlpha = 40;
  weather.StormAlpha = 20;
  weather.BalanceSum = 100;
  weather.Balance.fill(100);
  weather.MoonColor16 = {0, 8, 4, 0, 0, 0, 0, 0, 0, 0, 40, 0};
  weather.LightningMask = {0xFF, 0, 0, 0, 0xFF, 0, 0, 0, 0, 0, 0, 0};

  schedule.assign(rows, ScheduleRow{});
  for (int k = 0; k < rows; ++k) {
    // Spread the rows from 7:00 to 22:00; the middle ones carry the noon light.
    const double f = rows > 1 ? static_cast<double>(k) / (rows - 1) : 0.5;
    const int minutes = 7 * 60 + static_cast<int>(std::lround(f * 15 * 60));
    auto& r = schedule[k];
    r.Hour = static_cast<int8_t>(minutes / 60);
    r.Minute = static_cast<int8_t>(minutes % 60);
    const double level = std::sin(f * kPi);
    r.Alt = static_cast<int16_t>(std::lround(10000 * std::sin(level * 60 * kPi / 180)));
    for (int c = 0; c < kChannels; ++c)
      r.Color16[c] = static_cast<int16_t>(std::lround(4096 * level * kWeights[c]));
    r.Switch = switch_flag::DisplayOn | (level > 0.5 ? switch_flag::Clouds : 0) |
               (level > 0.8 ? switch_flag::Storms : 0);
  }
}

int16_t BoardState::ScheduledChannel(int channel, double secondOfDay) const {
  if (schedule.empty()) return 0;
  // The row in force and the next one, interpolated linearly over the day.
  auto start = [&](int k) { return schedule[k].Hour * 3600.0 + schedule[k].Minute * 60.0; };
  const int n = static_cast<int>(schedule.size());
  int cur = n - 1;
  for (int k = 0; k < n; ++k)
    if (start(k) <= secondOfDay) cur = k;
  const int next = (cur + 1) % n;
  double span = start(next) - start(cur);
  double into = secondOfDay - start(cur);
  if (span <= 0) span += 86400;
  if (into < 0) into += 86400;
  const double a = schedule[cur].Color16[channel];
  const double b = schedule[next].Color16[channel];
  return static_cast<int16_t>(std::lround(a + (b - a) * std::clamp(into / span, 0.0, 1.0)));
}

Info BoardState::LiveInfo() const {
  Info live = info;
  clock.Fill(live);
  const double secOfDay = live.Hour * 3600.0 + live.Minute * 60.0 + live.Second;
  const BoardMode mode = ModeOf(config.Mode);
  if (RunsSchedule(mode)) {
    for (int c = 0; c < kChannels; ++c) live.Channel[c] = ScheduledChannel(c, secOfDay);
  } else if (mode == BoardMode::RgbDemo || mode == BoardMode::Flash) {
    // Demo modes run a colour wheel or a flash over the channels.
    const double phase = clock.Now();
    for (int c = 0; c < kChannels; ++c) {
      const double v = mode == BoardMode::RgbDemo ? 0.5 + 0.5 * std::sin(phase + c * kPi / 6)
                                        : (static_cast<long>(phase * 2) % kChannels == c);
      live.Channel[c] = static_cast<int16_t>(std::lround(4096 * v));
    }
  }
  if (!schedule.empty()) {
    int active = 0;
    for (int k = 0; k < static_cast<int>(schedule.size()); ++k)
      if (schedule[k].Hour * 3600 + schedule[k].Minute * 60 <= secOfDay) active = k;
    live.ActiveRow = static_cast<int8_t>(active);
  }
  if (Clock::now() < savingUntil) live.StatusFlags |= status_flag::Saving;
  // The board's sensors wander a little around their readings.
  const double t = clock.Now();
  live.InputVoltage = static_cast<uint16_t>(info.InputVoltage + std::lround(30 * std::sin(t / 7)));
  if (info.TempBoard != kNoTemperature)
    live.TempBoard = static_cast<int16_t>(info.TempBoard + std::lround(4 * std::sin(t / 60)));
  return live;
}

Chart BoardState::ChartSamples() const {
  Chart chart = EmptyChart();
  const double interval = std::max<int>(1, expert.ChartInterval) * 60.0;
  const double now = clock.Now();
  for (int n = 0; n < 40; ++n) {
    const double t = now - n * interval;
    double v = 0;
    switch (expert.ChartMode) {
      case 0: v = 251 + 6 * std::sin(t / 86400 * 2 * kPi); break;
      case 1: v = 384 + 40 * std::sin(t / 86400 * 2 * kPi); break;
      case 2: v = 24100 + 50 * std::sin(t / 3600); break;
      default: continue;  // no slave board: every slot stays empty
    }
    chart.Sample[n] = static_cast<int16_t>(std::lround(v));
  }
  return chart;
}

}  // namespace vmx::sim
