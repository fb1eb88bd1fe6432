#include "settings/bindings.h"

#include <array>
#include <charconv>

#include "lang/number_text.h"
#include "link/channel_pattern.h"
#include "settings/temperature.h"
#include "settings/weather_counts.h"

namespace vmx {
namespace {

using K = RecordKind;
using S = Shown;

// An edit without a slider.
constexpr Binding Edit(std::string_view edit, K record, std::string_view field, S shown) {
  Binding b;
  b.edit = edit;
  b.record = record;
  b.field = field;
  b.shown = shown;
  return b;
}

// A slider with its edit, on a field the slider shows raw.
constexpr Binding Pair(std::string_view edit, std::string_view slider, K record,
                       std::string_view field, S shown, int minimum, int maximum) {
  Binding b = Edit(edit, record, field, shown);
  b.slider = slider;
  b.minimum = minimum;
  b.maximum = maximum;
  return b;
}

// clang-format off
constexpr std::array kBindings = {
    // Channel page
    Binding{"edt#", "trb#", K::Info, "Channel#", S::Percent4096, 0, 4096, {}, {}, true},
    // Configuration page
    Binding{"edtTimeLapse", "trbTimeLapse", K::Config, "TimeLapse", S::Integer, 0, 250, {}, {}, true},
    Binding{"edtLCDBLMax", "trbLCDBLMax", K::Config, "LCDBLMax", S::Percent255, 0, 255, {}, "trbLCDBLMin", false},
    Binding{"edtLCDBLMin", "trbLCDBLMin", K::Config, "LCDBLMin", S::Percent255, 0, 255, "trbLCDBLMax", "trbLCDBLNight", false},
    Binding{"edtLCDBLNight", "trbLCDBLNight", K::Expert, "LCDBLNight", S::Percent255, 0, 255, "trbLCDBLMin", {}, false},
    Binding{"edtFanHigh", "trbFanHigh", K::Config, "FanHigh", S::Percent255, 0, 255, {}, "trbFanLow", false},
    Binding{"edtFanLow", "trbFanLow", K::Config, "FanLow", S::Percent255, 0, 255, "trbFanHigh", "trbFanOff", false},
    Binding{"edtFanOff", "trbFanOff", K::Expert, "FanOff", S::Percent255, 0, 255, "trbFanLow", {}, false},
    // Expert options page
    Edit("edtPWMPrescaler", K::Expert, "PWMPrescaler", S::Integer),
    Edit("edtTWIBitrate", K::Expert, "TWIBitrate", S::Integer),
    Edit("edtTempOffset", K::Expert, "TempOffset", S::Tenths),
    Edit("edtTempWaterLow", K::Expert, "TempWaterLow", S::Temperature),
    Edit("edtTempWaterHigh", K::Expert, "TempWaterHigh", S::Temperature),
    Edit("edtChartInterval", K::Expert, "ChartInterval", S::Integer),
    Edit("edtChartScale", K::Expert, "ChartScale", S::TenthsShort),
    Edit("edtRandomInit", K::Expert, "RandomInit", S::Integer),
    Edit("edtCloudTempBoard", K::Expert, "CloudTempBoard", S::Tenths),
    Edit("edtCloudTempWater", K::Expert, "CloudTempWater", S::Tenths),
    Edit("edtLightningMask#", K::ExpertWeather, "LightningMask#", S::Integer),
    // JMP pin page
    Edit("edtTempCoolLow", K::Expert, "TempCoolLow", S::Temperature),
    Edit("edtTempCoolHigh", K::Expert, "TempCoolHigh", S::Temperature),
    Edit("edtTempHeatLow", K::Expert, "TempHeatLow", S::Temperature),
    Edit("edtTempHeatHigh", K::Expert, "TempHeatHigh", S::Temperature),
    // Weather, delay, moon and white balance pages (the cloud and storm counts
    // and durations are not plain fields: the weather page handles them itself)
    Pair("edtCloudAlpha", "trbCloudAlpha", K::ExpertWeather, "CloudAlpha", S::Integer, 0, 100),
    Pair("edtStormAlpha", "trbStormAlpha", K::ExpertWeather, "StormAlpha", S::Integer, 0, 100),
    Pair("edtCloudStep", "trbCloudStep", K::ExpertWeather, "CloudStep", S::Integer, 1, 5000),
    Pair("edtStormStep", "trbStormStep", K::ExpertWeather, "StormStep", S::Integer, 1, 5000),
    Pair("edtLightningP", "trbLightningP", K::ExpertWeather, "LightningP", S::Integer, 0, 5000),
    Pair("edtWeatherDelay#", "trbWeatherDelay#", K::ExpertWeather, "WeatherDelay#", S::Integer, 0, 255),
    Pair("edtMoon#", "trbMoon#", K::ExpertWeather, "MoonColor16#", S::MoonPercent, 0, 255),
    Pair("edtBalance#", "trbBalance#", K::ExpertWeather, "Balance#", S::Integer, 0, 100),
    Pair("edtBalanceSum", "trbBalanceSum", K::ExpertWeather, "BalanceSum", S::Integer, 0, 100),
    Edit("edtBalanceSumRamp", K::Expert, "BalanceSumRamp", S::Integer),
};
// clang-format on


}  // namespace

std::span<const Binding> SettingsBindings() {
  return kBindings;
}

std::optional<BoundControl> FindBinding(std::string_view control) {
  for (const Binding& b : kBindings) {
    std::optional<int> channel = MatchChannel(b.edit, control);
    const bool slider = !channel;
    if (slider) channel = MatchChannel(b.slider, control);
    if (!channel) continue;
    const int c = *channel;
    return BoundControl{&b,
                        slider,
                        ChannelName(b.edit, c),
                        ChannelName(b.slider, c),
                        ChannelName(b.field, c),
                        ChannelName(b.notAbove, c),
                        ChannelName(b.notBelow, c)};
  }
  return std::nullopt;
}

std::string FormatShown(Shown shown, int64_t value, uint8_t configFlag,
                        std::string_view separator) {
  const auto v = static_cast<double>(value);
  switch (shown) {
    case S::Integer:
      return std::to_string(value);
    case S::Percent255:
      return FormatDecimal(v / 255.0 * 100.0, 0, 1, separator);
    case S::Percent4096:
      return FormatDecimal(v / 40.96, 0, 2, separator);
    case S::Tenths:
      return FormatDecimal(v / 10.0, 1, 1, separator);
    case S::TenthsShort:
      return FormatDecimal(v / 10.0, 0, 1, separator);
    case S::MoonPercent:
      return MoonPercentText(value, separator);
    case S::Temperature:
      break;
  }
  return FormatTemperature(value, configFlag, separator);
}

std::optional<int64_t> ParseShown(Shown shown, std::string_view text, uint8_t configFlag,
                                  std::string_view separator) {
  if (shown == S::Integer) return ParseInteger(text);
  if (shown == S::Temperature) return ParseTemperature(text, configFlag, separator);
  if (shown == S::MoonPercent) return MoonLevelFromPercent(text, separator);
  const std::optional<double> x = ParseDecimal(text, separator);
  if (!x) return std::nullopt;
  switch (shown) {
    case S::Percent255:
      return RoundToInteger(*x / 100.0 * 255.0);
    case S::Percent4096:
      return RoundToInteger(*x * 40.96);
    default:
      return RoundToInteger(*x * 10.0);
  }
}

}  // namespace vmx
