#include "settings/board_status.h"

#include <array>
#include <utility>

#include "lang/catalogue.h"
#include "lang/number_text.h"
#include "settings/device_actions.h"
#include "settings/temperature.h"

namespace vmx {
namespace {

constexpr std::string_view kSeparator = " \u2022 ";

// RTC before TempBoard, as the board's own display lists them.
constexpr std::array<std::pair<uint8_t, std::string_view>, 8> kErrorTexts = {{
    {error_flag::Overtemperature, "Overtemperature"},
    {error_flag::Undervoltage, "Undervoltage"},
    {error_flag::QuarzError, "QuarzError"},
    {error_flag::CRCError, "CRCError"},
    {error_flag::RAMFull, "RAMFull"},
    {error_flag::RTCError, "RTCError"},
    {error_flag::TempBoardError, "TempBoardError"},
    {error_flag::PWMError, "PWMError"},
}};

void Append(std::string& text, std::string_view item) {
  if (!text.empty()) text += kSeparator;
  text += item;
}

}  // namespace

std::string BoardStatusText(const Info& info, uint8_t configFlag, std::string_view port,
                            std::string_view separator) {
  std::string text(port);
  for (const auto& [bit, key] : kErrorTexts)
    if (info.ErrorFlags & bit) Append(text, LangText(key));
  const std::string unit = TemperatureUnitSymbol(configFlag);
  auto temperature = [&](int16_t value) {
    return FormatTemperature(value, configFlag, separator) + unit;
  };
  if (info.TempBoard != kNoTemperature)
    Append(text, LangText("BoardTemperature") + ": " + temperature(info.TempBoard));
  if (info.TempWater != kNoTemperature) Append(text, "PelorixTemp: " + temperature(info.TempWater));
  if (info.TempSlave != kNoTemperature) Append(text, "Slave: " + temperature(info.TempSlave));
  Append(text, LangText("InputVoltage") + ": " +
                   FormatDecimal(info.InputVoltage / 1000.0, 2, 2, separator) + " Volt");
  return text;
}

bool BoardStatusAlarming(uint8_t errorFlags) {
  return (errorFlags & ~error_flag::RAMFull & 0xFF) != 0;
}

std::string ModePanelText(uint8_t mode, uint8_t activityFlags, uint8_t statusFlags) {
  if (statusFlags & status_flag::Saving) return LangText("Saving");
  const std::string_view key = ModeTextKey(ModeOf(mode));
  std::string text = key.empty() ? std::string() : LangText(key);
  if (RunsSchedule(ModeOf(mode))) {
    if (activityFlags & activity::Cloud) text += LangText("LetterCloud");
    if (activityFlags & activity::Storm) text += LangText("LetterStorm");
  }
  if (activityFlags & activity::Cooler) text += LangText("LetterCooler");
  if (activityFlags & activity::Heater) text += LangText("LetterHeater");
  if (activityFlags & activity::JmpTimer) text += LangText("LetterTimer");
  return text;
}

}  // namespace vmx
