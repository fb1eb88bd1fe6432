#include "settings/shown_setting.h"

#include "lang/catalogue.h"
#include "lang/channel_text.h"
#include "lang/number_text.h"
#include "link/channel_pattern.h"
#include "settings/bindings.h"
#include "settings/device_actions.h"
#include "settings/schedule_grid.h"
#include "settings/temperature.h"
#include "settings/weather_counts.h"

namespace vmx {
namespace {

// Per-channel keys: the word before the channel number and the control
// whose caption heads the channels' page or group.
struct ChannelKey {
  std::string_view word;
  std::string_view heading;
};
constexpr ChannelKey kChannelKeys[] = {
    {"Balance", "tsBalance"},       {"MoonColor16", "tsMoon"},
    {"WeatherDelay", "tsWeatherDelay"}, {"LightningMask", "gbxLightningMask"},
    {"ColorName", "lblName0"},
};

// Keys whose control is not a plain bound edit.
struct OtherCaption {
  std::string_view key;
  std::string_view control;
};
constexpr OtherCaption kOtherCaptions[] = {
    {"CloudP", "edtCloudCount"}, {"CloudD", "edtCloudSeconds"}, {"StormP", "edtStormCount"},
    {"StormD", "edtStormMinutes"}, {"Lat", "edtLat"},       {"Lon", "edtLon"},
    {"FanMode", "gbxFanMode"},     {"JMPMode", "tsJMP"},        {"ChartMode", "gbxChartMode"},
    {"Language", "lblLanguage"},
};

// Edits without a caption of their own: the second of a pair stands beside
// the first, whose caption names both; the cloud temperatures share a group.
struct SharedCaption {
  std::string_view key;
  std::string_view control;
  std::string_view word;  // message key said after the caption, if any
};
constexpr SharedCaption kSharedCaptions[] = {
    {"TempWaterHigh", "edtTempWaterLow", {}},
    {"TempCoolHigh", "edtTempCoolLow", {}},
    {"TempHeatHigh", "edtTempHeatLow", {}},
    {"CloudTempWater", "gbxCloudTemp", "HomeWaterTemperature"},
    {"CloudTempBoard", "gbxCloudTemp", "BoardTemperature"},
};

std::string Words(std::string_view key, std::string_view fallback) {
  const std::string text = LangText(key);
  return text == key ? std::string(fallback) : text;
}

// "Balance3" -> channel 3 of "Balance".
std::optional<int> ChannelOf(std::string_view key, std::string_view word) {
  return MatchChannel(std::string(word) + kChannelMark, key);
}

const Binding* BindingOfKey(std::string_view key) {
  for (const Binding& b : SettingsBindings())
    if (b.record != RecordKind::Info && b.field == key) return &b;
  return nullptr;
}

std::string UnitOf(Shown shown, uint8_t flag) {
  switch (shown) {
    case Shown::Percent255:
    case Shown::Percent4096:
    case Shown::MoonPercent:
      return " %";
    case Shown::Temperature:
      return " " + TemperatureUnitSymbol(flag);
    case Shown::Tenths:
    case Shown::TenthsShort:
      return " °C";  // offsets and scales stay in Celsius on every page
    case Shown::Integer:
      break;
  }
  return {};
}

std::string ChannelValue(std::string_view word, int64_t value, const ShowContext& c) {
  if (word == "ColorName") return ColorText(static_cast<int>(value));
  if (word == "MoonColor16") return MoonPercentText(value, c.separator) + " %";
  if (word == "Balance") return std::to_string(value) + " %";
  if (word == "WeatherDelay") return std::to_string(value) + " s";
  return std::to_string(value);
}

std::string SpecialValue(std::string_view key, int64_t value, const ShowContext& c, bool& done) {
  done = true;
  auto optional = [&](std::optional<int64_t> v, const char* unit) {
    return v ? std::to_string(*v) + unit : std::string("-");
  };
  if (key == "Mode") {
    const std::string_view textKey = ModeTextKey(ModeOf(static_cast<uint8_t>(value)));
    return textKey.empty() ? std::to_string(value) : LangText(textKey);
  }
  if (key == "CloudP") return std::to_string(CloudCountOf(static_cast<uint16_t>(value)));
  if (key == "CloudD") return optional(CloudSecondsOf(static_cast<uint16_t>(value)), " s");
  if (key == "StormP") return std::to_string(StormCountOf(static_cast<uint16_t>(value)));
  if (key == "StormD") return optional(StormMinutesOf(static_cast<uint16_t>(value)), " min");
  if (key == "Lat" || key == "Lon")
    return FormatDecimal(static_cast<double>(value) / 10.0, 0, 1, c.separator) + "°";
  if (key == "Language") {
    // The board's display speaks the program's languages, numbered alike.
    if (value == static_cast<int64_t>(Language::English)) return LangText("English");
    if (value == static_cast<int64_t>(Language::German)) return LangText("German");
  }
  done = false;
  return {};
}

}  // namespace

std::string ControlCaption(std::string_view control) {
  const auto table = CurrentTable();
  const std::string* text =
      table ? table->Find("frmLantix", std::string(control) + ".Caption") : nullptr;
  if (!text) return std::string(control);
  std::string caption = ExpandLineBreaks(*text);
  for (char& ch : caption)
    if (ch == '\r' || ch == '\n') ch = ' ';
  return caption;
}

ShownSetting ShowSectionValue(std::string_view section, std::string_view key, int64_t value,
                              const ShowContext& context) {
  ShownSetting shown;
  for (const ChannelKey& ck : kChannelKeys) {
    const std::optional<int> channel = ChannelOf(key, ck.word);
    if (!channel) continue;
    const std::string channelName =
        ChannelCaption(*channel, context.colorNames[static_cast<size_t>(*channel)]);
    shown.caption = ck.word == "ColorName"
                        ? FormatText(ControlCaption(ck.heading), {ChannelLetter(*channel)})
                        : ControlCaption(ck.heading) + ": " + channelName;
    shown.text = ChannelValue(ck.word, value, context);
    return shown;
  }
  if (const Binding* b = BindingOfKey(key)) {
    shown.caption = ControlCaption(b->edit);
    for (const SharedCaption& shared : kSharedCaptions)
      if (shared.key == key)
        shown.caption = ControlCaption(shared.control) +
                        (shared.word.empty() ? std::string() : ": " + LangText(shared.word));
    shown.text = FormatShown(b->shown, value, context.configFlag, context.separator) +
                 UnitOf(b->shown, context.configFlag);
    return shown;
  }
  shown.caption = std::string(section) + "." + std::string(key);
  for (const OtherCaption& other : kOtherCaptions)
    if (other.key == key) shown.caption = ControlCaption(other.control);
  if (section == "TimeZone")
    shown.caption = ControlCaption("edtTimeZone" + std::string(key));
  if (key == "Mode") shown.caption = Words("HomeMode", "Mode");
  bool special = false;
  shown.text = SpecialValue(key, value, context, special);
  if (!special) shown.text = std::to_string(value);
  return shown;
}

std::string RowCaption(std::string_view key, const ShowContext& context) {
  if (key == "Hour" || key == "Minute") return LangText("Time");
  if (key == "Alt") return LangText("Altitude");
  if (key == "Timer") return LangText("Timer");
  if (key == "Switch")
    return LangText("Display") + ", " + LangText("Clouds") + ", " + LangText("Storms");
  if (const std::optional<int> channel = ChannelOf(key, "Color16"))
    return ChannelCaption(*channel, context.colorNames[static_cast<size_t>(*channel)]);
  return std::string(key);
}

std::string RowValueText(std::string_view key, const ScheduleRow& row, const ShowContext& context) {
  if (key == "Hour" || key == "Minute") return TimeCellText(row.Hour, row.Minute);
  if (key == "Alt") return AltitudeCellText(row.Alt, context.separator) + "°";
  if (key == "Timer") return std::to_string(row.Timer);
  if (key == "Switch") {
    GridWords words;
    words.on = LangText("ON");
    words.off = LangText("OFF");
    words.separator = context.separator;
    const GridLine line = FormatGridLine(row, 0, false, words);
    const char* names[] = {"Display", "Clouds", "Storms"};
    std::string text;
    for (int s = 0; s < 3; ++s)
      text += (s ? ", " : "") + LangText(names[s]) + " " + line.cells[grid::kDisplay + s];
    return text;
  }
  if (const std::optional<int> channel = ChannelOf(key, "Color16"))
    return PercentCellText(row.Color16[static_cast<size_t>(*channel)], context.separator) + " %";
  return std::string(key);
}

}  // namespace vmx
