// What the simulated board holds: its records, its clock and its flash, and
// how its live values follow from them.
#pragma once

#include <chrono>
#include <cstdint>
#include <vector>

#include "link/records.h"

namespace vmx::sim {

// The board's clock: a naive local date and time that runs on from where it was
// last set, TimeLapse times as fast as real time.
class BoardClock {
 public:
  BoardClock();  // starts at the computer's local time
  void Set(int year, int month, int day, int hour, int minute, int second);
  void SetTimeLapse(int factor);
  // Seconds since 2000-01-01 00:00 on the board's calendar.
  double Now() const;
  void Fill(Info& info) const;  // clock fields of Info

 private:
  double base_ = 0;  // board seconds at anchor_
  std::chrono::steady_clock::time_point anchor_;
  int lapse_ = 1;
};

struct BoardState {
  explicit BoardState(int rows);
  void LoadReefDefaults();  // action 4: the reef bundle's records
  // The live values: clock, channels from mode and schedule, flags.
  Info LiveInfo() const;
  Chart ChartSamples() const;

  int rows;
  Info info;  // RowCount, flags, temperatures, channels set by hand
  Config config;
  Expert expert;
  ExpertWeather weather;
  Health health;
  std::vector<ScheduleRow> schedule;
  BoardClock clock;
  std::chrono::steady_clock::time_point savingUntil{};
  BootInfo bootInfo;
  std::vector<uint8_t> flash;  // 64 KiB image written by the bootloader

 private:
  int16_t ScheduledChannel(int channel, double secondOfDay) const;
};

}  // namespace vmx::sim
