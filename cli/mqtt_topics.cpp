#include "cli/mqtt_topics.h"

#include <string_view>

#include "cli/json_writer.h"
#include "lang/catalogue.h"
#include "lang/number_text.h"
#include "settings/bindings.h"
#include "settings/board_status.h"
#include "settings/device_actions.h"
#include "settings/temperature.h"

namespace vmx::cli {
namespace {

constexpr std::string_view kPoint = ".";

struct FlagTopic {
  uint8_t bit;
  const char* topic;
};

constexpr FlagTopic kErrors[] = {
    {error_flag::Overtemperature, "error/overtemperature"},
    {error_flag::Undervoltage, "error/undervoltage"},
    {error_flag::QuarzError, "error/quartz"},
    {error_flag::CRCError, "error/crc"},
    {error_flag::RAMFull, "error/ram_full"},
    {error_flag::TempBoardError, "error/temp_board"},
    {error_flag::RTCError, "error/rtc"},
    {error_flag::PWMError, "error/pwm"},
};

constexpr FlagTopic kActivities[] = {
    {activity::Cloud, "activity/cloud"},        {activity::Storm, "activity/storm"},
    {activity::Cooler, "activity/cooler"},      {activity::Heater, "activity/heater"},
    {activity::JmpTimer, "activity/jmp_timer"},
};

const char* OnOff(bool on) {
  return on ? kOn : kOff;
}

// A caption of the window's own, for entities named like its controls.
std::string FormText(std::string_view key) {
  const std::string* text = CurrentTable()->Find("frmLantix", key);
  return text ? *text : std::string(key);
}

// The parts every document shares: name, ids, availability and device.
class Document {
 public:
  Document(const DiscoveryFacts& facts, std::string_view object, const std::string& name)
      : facts_(facts) {
    json_.AddString("name", name);
    json_.AddString("unique_id", facts.id + "_" + std::string(object));
    json_.AddString("object_id", facts.id + "_" + std::string(object));
  }
  Document& Topic(std::string_view key, std::string_view relative) {
    json_.AddString(key, facts_.base + "/" + std::string(relative));
    return *this;
  }
  Document& String(std::string_view key, std::string_view value) {
    json_.AddString(key, value);
    return *this;
  }
  Document& Raw(std::string_view key, std::string_view json) {
    json_.AddRaw(key, json);
    return *this;
  }
  std::string Text() {
    json_.AddRaw("availability",
                 "[" + JsonObject().AddString("topic", facts_.base + "/availability").Text() + "]");
    JsonObject device;
    device.AddRaw("identifiers", "[" + JsonQuote(facts_.id) + "]");
    device.AddString("name", "Velmarinex " + facts_.id);
    device.AddString("model", "Velmarinex 2.x.4");
    json_.AddRaw("device", device.Text());
    return json_.Text();
  }

 private:
  const DiscoveryFacts& facts_;
  JsonObject json_;
};

std::string ConfigTopic(std::string_view component, const DiscoveryFacts& facts,
                        std::string_view object) {
  return "homeassistant/" + std::string(component) + "/" + facts.id + "/" + std::string(object) +
         "/config";
}

std::string ModeOptions() {
  std::string list;
  for (uint8_t mode = 0; !ModeName(ModeOf(mode)).empty(); ++mode)
    list += (list.empty() ? "" : ", ") + JsonQuote(ModeName(ModeOf(mode)));
  return "[" + list + "]";
}

}  // namespace

TopicValues BoardTopics(const Info& info, const Config& config) {
  TopicValues out;
  const std::string_view mode = ModeName(ModeOf(config.Mode));
  out.emplace_back("mode", mode.empty() ? std::to_string(config.Mode) : std::string(mode));
  for (int n = 0; n < kChannels; ++n)
    out.emplace_back(
        "channel/" + std::to_string(n),
        FormatShown(Shown::Percent4096, info.Channel[static_cast<size_t>(n)], 0, kPoint));
  out.emplace_back("active_row", std::to_string(info.ActiveRow));
  auto temperature = [&](int16_t value) {
    return value == kNoTemperature ? std::string(kNoValue)
                                   : FormatTemperature(value, config.Flag, kPoint);
  };
  out.emplace_back("temperature/board", temperature(info.TempBoard));
  out.emplace_back("temperature/water", temperature(info.TempWater));
  out.emplace_back("temperature/slave", temperature(info.TempSlave));
  out.emplace_back("temperature/unit", TemperatureUnitSymbol(config.Flag));
  out.emplace_back("voltage", FormatDecimal(info.InputVoltage / 1000.0, 2, 2, kPoint));
  out.emplace_back("alarm", OnOff(BoardStatusAlarming(info.ErrorFlags)));
  for (const FlagTopic& f : kErrors) out.emplace_back(f.topic, OnOff(info.ErrorFlags & f.bit));
  for (const FlagTopic& f : kActivities)
    out.emplace_back(f.topic, OnOff(info.ActivityFlags & f.bit));
  out.emplace_back("saving", OnOff(info.StatusFlags & status_flag::Saving));
  return out;
}

TopicValues DiscoveryDocuments(const DiscoveryFacts& facts) {
  TopicValues out;
  for (int n = 0; n < kChannels; ++n) {
    const std::string object = "channel" + std::to_string(n);
    const std::string level = "channel/" + std::to_string(n);
    const std::string command = "set/" + level;
    // Turning a light on without a level sends the full level; off sends OFF.
    out.emplace_back(
        ConfigTopic("light", facts, object),
        Document(facts, object, facts.captions[static_cast<size_t>(n)])
            .Topic("command_topic", command)
            .Topic("state_topic", level)
            .String("state_value_template", "{{ 'ON' if value | float(0) > 0 else 'OFF' }}")
            .Topic("brightness_command_topic", command)
            .Topic("brightness_state_topic", level)
            .Raw("brightness_scale", "100")
            .String("on_command_type", "brightness")
            .String("payload_off", kOff)
            .Text());
  }
  const std::pair<const char*, std::string> temperatures[] = {
      {"board", LangText("BoardTemperature")},
      {"water", LangText("HomeWaterTemperature")},
      {"slave", LangText("HomeSlaveTemperature")}};
  for (const auto& [which, name] : temperatures) {
    const std::string object = std::string("temperature_") + which;
    out.emplace_back(ConfigTopic("sensor", facts, object),
                     Document(facts, object, name)
                         .Topic("state_topic", std::string("temperature/") + which)
                         .String("device_class", "temperature")
                         .String("state_class", "measurement")
                         .String("unit_of_measurement", facts.unit)
                         .Text());
  }
  out.emplace_back(ConfigTopic("sensor", facts, "voltage"),
                   Document(facts, "voltage", LangText("InputVoltage"))
                       .Topic("state_topic", "voltage")
                       .String("device_class", "voltage")
                       .String("state_class", "measurement")
                       .String("unit_of_measurement", "V")
                       .Text());
  out.emplace_back(ConfigTopic("sensor", facts, "active_row"),
                   Document(facts, "active_row", LangText("HomeActiveRow"))
                       .Topic("state_topic", "active_row")
                       .Text());
  out.emplace_back(ConfigTopic("select", facts, "mode"),
                   Document(facts, "mode", LangText("HomeMode"))
                       .Topic("command_topic", "set/mode")
                       .Topic("state_topic", "mode")
                       .Raw("options", ModeOptions())
                       .Text());
  const std::pair<const char*, std::string> flags[][2] = {
      {{"alarm", "alarm"}, {"problem", LangText("HomeAlarm")}},
      {{"overtemperature", "error/overtemperature"}, {"heat", LangText("Overtemperature")}},
      {{"undervoltage", "error/undervoltage"}, {"problem", LangText("Undervoltage")}},
      {{"cloud", "activity/cloud"}, {"", LangText("HomeCloudActive")}},
      {{"storm", "activity/storm"}, {"", LangText("HomeStormActive")}},
  };
  for (const auto& flag : flags) {
    const std::string object = flag[0].first;
    Document document(facts, object, flag[1].second);
    document.Topic("state_topic", flag[0].second)
        .String("payload_on", kOn)
        .String("payload_off", kOff);
    if (*flag[1].first) document.String("device_class", flag[1].first);
    out.emplace_back(ConfigTopic("binary_sensor", facts, object), document.Text());
  }
  const std::pair<const char*, std::string> buttons[][2] = {
      {{"cloud_trigger", "cloud"}, {kPress, LangText("HomeTriggerCloud")}},
      {{"storm_trigger", "storm"}, {kPress, LangText("HomeTriggerStorm")}},
      {{"save", "save"}, {kPress, FormText("mnuSaveEEPROM.Caption")}},
      {{"all_off", "all"}, {"off", FormText("mnuAllOff.Caption")}},
      {{"all_20", "all"}, {"20", FormText("mnuAll20.Caption")}},
      {{"all_on", "all"}, {"on", FormText("mnuAllOn.Caption")}},
  };
  for (const auto& button : buttons) {
    const std::string object = button[0].first;
    out.emplace_back(ConfigTopic("button", facts, object),
                     Document(facts, object, button[1].second)
                         .Topic("command_topic", std::string("set/") + button[0].second)
                         .String("payload_press", button[1].first)
                         .Text());
  }
  return out;
}

}  // namespace vmx::cli
