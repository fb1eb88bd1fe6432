#include "settings/device_actions.h"

#include <array>
#include <chrono>
#include <cmath>
#include <ctime>

#include "astro/board_clock.h"
#include "link/shared_store.h"
#include "persist/history_triggers.h"

namespace vmx {
namespace {

constexpr std::array<std::string_view, 5> kModeNames{"manual", "auto", "geo", "rgbdemo", "flash"};
constexpr std::array<std::string_view, 5> kModeKeys{"ModeManual", "ModeAuto", "ModeGeo",
                                                    "ModeRGBDemo", "ModeFlash"};
constexpr uint16_t kPairingBit = 0x1000;

}  // namespace

std::optional<BoardMode> ModeNamed(std::string_view name) {
  for (size_t i = 0; i < kModeNames.size(); ++i)
    if (kModeNames[i] == name) return ModeOf(static_cast<uint8_t>(i));
  return std::nullopt;
}

std::string_view ModeName(BoardMode mode) {
  const size_t i = ModeField(mode);
  return i < kModeNames.size() ? kModeNames[i] : std::string_view();
}

std::string_view ModeTextKey(BoardMode mode) {
  const size_t i = ModeField(mode);
  return i < kModeKeys.size() ? kModeKeys[i] : std::string_view();
}

bool SetMode(SharedStore& store, BoardMode mode) {
  if (ModeOf(store.config.Mode) == mode) return false;
  store.config.Mode = ModeField(mode);
  return true;
}

void RequestModeWrite(SharedStore& store, BoardMode mode) {
  // The demo modes run no schedule: whatever else was pending is dropped.
  if (mode == BoardMode::RgbDemo || mode == BoardMode::Flash)
    store.SetRequests(request::WriteConfig);
  else
    store.Raise(request::WriteConfig);
}

bool ToggleBigStep(SharedStore& store) {
  const bool big = !(store.config.Flag & config_flag::BigStep);
  store.config.Flag = static_cast<uint8_t>(big ? store.config.Flag | config_flag::BigStep
                                               : store.config.Flag & ~config_flag::BigStep);
  store.Raise(request::WriteConfig);
  return big;
}

void Refresh(SharedStore& store) {
  store.Raise(request::ReadAllSet);
}
void SaveSettings(SharedStore& store) {
  store.Raise(request::SaveEEPROM);
}
void LoadReefDefaults(SharedStore& store) {
  // The board overwrites every setting: what it had stays in its history.
  SnapshotStore(store, SnapshotReason::BeforeReef);
  store.Raise(request::LoadReef);
}
void TriggerCloud(SharedStore& store) {
  store.Raise(request::ToggleCloud);
}
void TriggerStorm(SharedStore& store) {
  store.Raise(request::ToggleStorm);
}
void ReadHealth(SharedStore& store) {
  store.Raise(request::ReadHealth);
}

void PairIrRemote(SharedStore& store) {
  Expert& e = store.expert;
  for (uint16_t* code :
       {&e.Up, &e.Down, &e.Left, &e.Right, &e.Previous, &e.Next, &e.Settings, &e.Step})
    *code ^= kPairingBit;
  store.RaiseIrPairing();
}

LocalDateTime ComputerClock() {
  const auto now = std::chrono::system_clock::now();
  const std::time_t t = std::chrono::system_clock::to_time_t(now);
  std::tm tm{};
  localtime_r(&t, &tm);
  LocalDateTime c;
  c.year = tm.tm_year + 1900;
  c.month = tm.tm_mon + 1;
  c.day = tm.tm_mday;
  c.hour = tm.tm_hour;
  c.minute = tm.tm_min;
  c.second = tm.tm_sec;
  c.millisecond = static_cast<int>(
      std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000);
  return c;
}

void SetCurrentTimeAndDate(SharedStore& store, const LocalDateTime& now) {
  store.config.TimeLapse = 1;
  store.Raise(request::WriteConfig);
  SetBoardClock(store, now);
}

void SetBoardClock(SharedStore& store, const LocalDateTime& now) {
  SetBoardClock(store.info, now);
  store.Raise(request::WriteInfoTime);
}

}  // namespace vmx
