// Which of the board's conditions deserve a desktop alert, once per
// occurrence: an alert is raised when its condition begins and cleared when it
// ends, never repeated while it lasts.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "link/records.h"

namespace vmx {

struct AlertSettings {
  bool enabled = true;
  bool waterRange = false;  // alert when the water leaves waterLow..waterHigh
  int16_t waterLow = 240;   // tenths of a degree Celsius
  int16_t waterHigh = 280;
};

enum class AlertKind : uint8_t {
  Overtemperature,
  Undervoltage,
  BoardError,
  WaterTooCold,
  WaterTooWarm,
  LinkLost,
};

struct AlertEvent {
  AlertKind kind;
  bool raised;       // false: the condition has ended
  std::string text;  // what the user reads, in the current language
};

class BoardAlerts {
 public:
  using Clock = std::chrono::steady_clock;
  static constexpr std::chrono::seconds kLinkGrace{30};

  // A freshly read Info record.
  std::vector<AlertEvent> OnInfo(const Info& info, uint8_t configFlag,
                                 const AlertSettings& settings, const std::string& separator);
  // The link to a board with matching firmware came up (true) or ended.
  std::vector<AlertEvent> OnLinkState(bool connected, Clock::time_point now);
  // Time passes: a link gone for longer than the grace raises its alert.
  std::vector<AlertEvent> OnTick(Clock::time_point now, const std::string& port);
  // When the next tick matters, if any.
  std::optional<Clock::time_point> NextDeadline() const;

 private:
  void Set(AlertKind kind, bool active, std::string text, std::vector<AlertEvent>& out);

  uint32_t active_ = 0;  // one bit per AlertKind
  bool everConnected_ = false;
  std::optional<Clock::time_point> lostSince_;
};

}  // namespace vmx
