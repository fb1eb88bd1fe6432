#include "settings/board_alerts.h"

#include "lang/catalogue.h"
#include "settings/temperature.h"

namespace vmx {
namespace {

constexpr uint8_t kOtherErrors = error_flag::QuarzError | error_flag::CRCError |
                                 error_flag::TempBoardError | error_flag::RTCError |
                                 error_flag::PWMError;

uint32_t Bit(AlertKind kind) {
  return 1u << static_cast<unsigned>(kind);
}

// The texts of the error bits that are set, in the order the status line lists them.
std::string ErrorTexts(uint8_t flags) {
  const std::pair<uint8_t, const char*> errors[] = {{error_flag::QuarzError, "QuarzError"},
                                                    {error_flag::CRCError, "CRCError"},
                                                    {error_flag::RTCError, "RTCError"},
                                                    {error_flag::TempBoardError, "TempBoardError"},
                                                    {error_flag::PWMError, "PWMError"}};
  std::string text;
  for (const auto& [bit, key] : errors) {
    if (!(flags & bit)) continue;
    if (!text.empty()) text += ", ";
    text += LangText(key);
  }
  return text;
}

}  // namespace

void BoardAlerts::Set(AlertKind kind, bool active, std::string text, std::vector<AlertEvent>& out) {
  if (((active_ & Bit(kind)) != 0) == active) return;
  active_ ^= Bit(kind);
  out.push_back({kind, active, std::move(text)});
}

std::vector<AlertEvent> BoardAlerts::OnInfo(const Info& info, uint8_t configFlag,
                                            const AlertSettings& settings,
                                            const std::string& separator) {
  std::vector<AlertEvent> out;
  const bool on = settings.enabled;
  Set(AlertKind::Overtemperature, on && (info.ErrorFlags & error_flag::Overtemperature),
      LangText("AlertOvertemperature"), out);
  Set(AlertKind::Undervoltage, on && (info.ErrorFlags & error_flag::Undervoltage),
      LangText("AlertUndervoltage"), out);
  Set(AlertKind::BoardError, on && (info.ErrorFlags & kOtherErrors),
      LangFormat("AlertBoardError", {ErrorTexts(info.ErrorFlags)}), out);

  const bool water = on && settings.waterRange && info.TempWater != kNoTemperature;
  const std::string unit = TemperatureUnitSymbol(configFlag);
  auto shown = [&](int16_t t) { return FormatTemperature(t, configFlag, separator) + unit; };
  Set(AlertKind::WaterTooCold, water && info.TempWater < settings.waterLow,
      LangFormat("AlertWaterTooCold", {shown(info.TempWater), shown(settings.waterLow)}), out);
  Set(AlertKind::WaterTooWarm, water && info.TempWater > settings.waterHigh,
      LangFormat("AlertWaterTooWarm", {shown(info.TempWater), shown(settings.waterHigh)}), out);
  return out;
}

std::vector<AlertEvent> BoardAlerts::OnLinkState(bool connected, Clock::time_point now) {
  std::vector<AlertEvent> out;
  if (connected) {
    everConnected_ = true;
    lostSince_.reset();
    Set(AlertKind::LinkLost, false, LangText("AlertLinkBack"), out);
  } else if (everConnected_ && !lostSince_) {
    // Only a board that was there can be lost; repeated reports keep the first moment.
    lostSince_ = now;
  }
  return out;
}

std::vector<AlertEvent> BoardAlerts::OnTick(Clock::time_point now, const std::string& port) {
  std::vector<AlertEvent> out;
  if (lostSince_ && now - *lostSince_ >= kLinkGrace)
    Set(AlertKind::LinkLost, true, LangFormat("AlertLinkLost", {port}), out);
  return out;
}

std::optional<BoardAlerts::Clock::time_point> BoardAlerts::NextDeadline() const {
  if (!lostSince_ || (active_ & Bit(AlertKind::LinkLost))) return std::nullopt;
  return *lostSince_ + kLinkGrace;
}

}  // namespace vmx
