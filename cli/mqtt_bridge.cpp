#include "cli/mqtt_bridge.h"

#include <cctype>
#include <cstdio>

#include "app/link_state_table.h"
#include "cli/settings_json.h"
#include "lang/channel_text.h"
#include "link/record_requests.h"
#include "link/shared_store.h"
#include "persist/settings_assign.h"
#include "persist/settings_file.h"
#include "settings/bindings.h"
#include "settings/channel_levels.h"
#include "settings/device_actions.h"
#include "settings/temperature.h"

namespace vmx::cli {
namespace {

constexpr size_t kShownPayload = 40;

std::string Trimmed(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// A payload as a log line shows it: quoted, short, control bytes escaped.
std::string Quoted(const std::string& payload) {
  std::string out = "\"";
  for (size_t i = 0; i < payload.size() && i < kShownPayload; ++i) {
    const auto c = static_cast<unsigned char>(payload[i]);
    if (c < 0x20 || c == 0x7F || c == '"' || c == '\\') {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
      out += escaped;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + (payload.size() > kShownPayload ? "...\"" : "\"");
}

// "0".."11", nothing else.
std::optional<int> ChannelNumber(const std::string& text) {
  if (text.empty() || text.size() > 2 || (text.size() == 2 && text[0] == '0')) return std::nullopt;
  int n = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    n = n * 10 + (c - '0');
  }
  return n < kChannels ? std::optional<int>(n) : std::nullopt;
}

}  // namespace

MqttBridge::MqttBridge(BridgeOptions options, LogFn log)
    : options_(std::move(options)), log_(std::move(log)) {}

// ---- the worker's side ----

void MqttBridge::LinkChanged(bool connected) {
  MutexLock g(lock_);
  snapshot_.linkUp = connected;
  // Until every record of the new link is read, the values are the last ones.
  snapshot_.complete = false;
  dirty_ = true;
}

void MqttBridge::RecordRead(RecordKind record, SharedStore& store, bool complete) {
  if (!complete) return;
  TakeSnapshot(record, store);
}

void MqttBridge::Said(const std::string& text, bool status) {
  log_(text);
  if (!status) return;
  MutexLock g(lock_);
  snapshot_.status = text;
  dirty_ = true;
}

void MqttBridge::TakeSnapshot(RecordKind record, SharedStore& store) {
  TopicValues values = BoardTopics(store.info, store.config);
  DiscoveryFacts facts;
  facts.base = Base();
  facts.id = options_.id;
  facts.unit = TemperatureUnitSymbol(store.config.Flag);
  for (int n = 0; n < kChannels; ++n)
    facts.captions[static_cast<size_t>(n)] =
        ChannelCaption(n, store.config.ColorName[static_cast<size_t>(n)]);
  // The settings change only with the records that hold them.
  std::string settings;
  const bool settingsRead = HoldsSettings(record);
  MutexLock g(lock_);
  if (settingsRead || snapshot_.settings.empty() || !snapshot_.complete)
    snapshot_.settings = SettingsJson(TakeSettings(store));
  snapshot_.complete = true;
  snapshot_.values = std::move(values);
  snapshot_.facts = std::move(facts);
  dirty_ = true;
}

// ---- the main thread's side ----

void MqttBridge::Republish() {
  MutexLock g(lock_);
  republish_ = dirty_ = true;
}

void MqttBridge::PublishChanged(MqttClient& client, const std::string& topic,
                                const std::string& payload) {
  auto known = published_.find(topic);
  if (known != published_.end() && known->second == payload) return;
  if (client.Publish(topic, payload)) {
    published_[topic] = payload;
  } else {
    MutexLock g(lock_);
    dirty_ = true;  // once there is a connection again
  }
}

void MqttBridge::Publish(MqttClient& client) {
  if (!client.Connected()) return;
  Snapshot s;
  {
    MutexLock g(lock_);
    if (!dirty_) return;
    s = snapshot_;
    dirty_ = false;
    if (republish_) published_.clear();
    republish_ = false;
  }
  const std::string base = Base() + "/";
  PublishChanged(client, AvailabilityTopic(), s.linkUp && s.complete ? "online" : "offline");
  PublishChanged(client, base + "link", s.linkUp ? "connected" : "disconnected");
  if (!s.status.empty()) PublishChanged(client, base + "status", s.status);
  for (const auto& [topic, payload] : s.values) PublishChanged(client, base + topic, payload);
  if (!s.settings.empty()) PublishChanged(client, base + "settings", s.settings);
  if (options_.discovery && s.facts)
    for (const auto& [topic, document] : DiscoveryDocuments(*s.facts))
      PublishChanged(client, topic, document);
}

void MqttBridge::Command(const std::string& topic, const std::string& payload, bool retained) {
  const std::string prefix = Base() + "/set/";
  if (!topic.starts_with(prefix)) return;
  std::string why;
  // Run again at every connection, a retained "save" would wear the EEPROM.
  if (retained)
    why = "a retained message is no command; publish commands without the retain flag";
  else
    session_->OnUi([&] { why = Apply(topic.substr(prefix.size()), Trimmed(payload)); });
  if (why.empty())
    log_("MQTT: " + topic + " " + Quoted(payload));
  else
    log_("MQTT: ignored " + topic + " " + Quoted(payload) + ": " + why);
}

std::string MqttBridge::Apply(const std::string& command, const std::string& payload) {
  SharedStore& store = session_->Store();
  // Records not read from this board would go back to it as zeros.
  if (!session_->Connected()) return "the board is not connected";
  if (!session_->Records().Complete(store)) return "the board's settings are still being read";
  LinkFacts facts;
  facts.connected = true;
  facts.mode = store.config.Mode;
  const std::string word = Lower(payload);
  // A stray message must not start a thunderstorm or wear the EEPROM: a
  // button acts on the payload its discovery document declares, nothing else.
  if ((command == "cloud" || command == "storm" || command == "save") && word != Lower(kPress))
    return std::string("not ") + kPress + ", the button's payload";

  if (command == "mode") {
    const auto mode = ModeNamed(word);
    if (!mode) return "no such mode (manual, auto, geo, rgbdemo, flash)";
    SetMode(store, *mode);
    RequestModeWrite(store, *mode);
    return {};
  }
  if (command.starts_with("channel/")) {
    const auto channel = ChannelNumber(command.substr(8));
    if (!channel) return "no such channel (0 to 11)";
    if (!ConditionHolds(LinkCondition::ManualMode, facts))
      return "channels are set by hand in mode Manual only";
    std::optional<int64_t> level;
    if (word == "on")
      level = channel_level::Full;
    else if (word == "off")
      level = channel_level::Off;
    else
      level = ParseShown(Shown::Percent4096, payload, 0, ".");
    if (!level) return "not a percentage, ON or OFF";
    if (*level < channel_level::Off || *level > channel_level::Full) return "not within 0 to 100 %";
    SetChannelLevel(store, *channel, *level);
    return {};
  }
  if (command == "all") {
    if (word == "off" || word == "0")
      SetAllChannels(store, channel_level::Off);
    else if (word == "20")
      SetAllChannels(store, channel_level::TwentyPercent);
    else if (word == "on" || word == "100")
      SetAllChannels(store, channel_level::Full);
    else
      return "not off, 20 or on";
    return {};
  }
  if (command == "cloud" || command == "storm") {
    if (!ConditionHolds(LinkCondition::AutoOrGeoMode, facts))
      return "clouds and thunderstorms are triggered in modes Auto and Geo only";
    (command == "cloud" ? TriggerCloud : TriggerStorm)(store);
    return {};
  }
  if (command == "save") {
    SaveSettings(store);
    return {};
  }
  if (command.starts_with("config/")) return SetConfigKey(command.substr(7), payload);
  return "no such command";
}

std::string MqttBridge::SetConfigKey(const std::string& key, const std::string& value) {
  // Section and key may stand as two topic levels: config/Weather/CloudP.
  std::string name = key;
  for (char& c : name)
    if (c == '/') c = '.';
  if (name.empty() || name.find('=') != std::string::npos) return "no such settings key";
  std::string error;
  const std::optional<SettingsAssignment> assignment = ParseAssignment(name + "=" + value, error);
  if (!assignment) return error;
  // A file's value is cut to its field; a value sent on its own must fit.
  SettingsRecords probe;
  probe.schedule.resize(1);
  assignment->key->Set(probe, assignment->value);
  if (assignment->key->Get(probe) != assignment->value)
    return std::to_string(assignment->value) + " does not fit " + assignment->key->Name();
  SharedStore& store = session_->Store();
  const uint32_t bits = AssignSettings(store, {&*assignment, 1}, error);
  if (bits == 0) return error;
  store.Raise(ReadBackOf(bits));
  return {};
}

}  // namespace vmx::cli
