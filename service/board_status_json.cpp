#include "service/board_status_json.h"

#include <cstdio>
#include <cstdlib>

#include "cli/mqtt_topics.h"
#include "settings/device_actions.h"

namespace vmx::service {
namespace {

double Number(const std::string& text) {
  return std::strtod(text.c_str(), nullptr);
}

// The board's clock, local time, as ISO 8601 without an offset.
std::string Clock(const Info& info) {
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d", 2000 + info.Year,
                info.Month, info.Day, info.Hour, info.Minute, info.Second);
  return text;
}

}  // namespace

Json ModeValue(BoardMode mode) {
  const std::string_view word = ModeName(mode);
  if (word.empty()) return nullptr;
  return word == "rgbdemo" ? std::string("rgb") : std::string(word);
}

std::optional<BoardMode> ModeOfWord(const std::string& word) {
  return ModeNamed(word == "rgb" ? "rgbdemo" : word);
}

Json BoardStatusValue(const std::string& id, bool connected, const Info& info,
                      const Config& config) {
  Json status = Json::object();
  status["id"] = id;
  status["connected"] = connected;
  status["clock"] = Clock(info);
  Json channels = Json::array(), temperatures = Json::object(), flags = Json::object();
  bool cloud = false, storm = false;
  // Read through the MQTT bridge's topics, so both show the same values by the same rules.
  for (const auto& [topic, payload] : cli::BoardTopics(info, config)) {
    const bool on = payload == cli::kOn;
    if (topic == "active_row") {
      status["row"] = std::atoi(payload.c_str());
    } else if (topic.starts_with("channel/")) {
      channels.push_back(Number(payload));
    } else if (topic == "temperature/unit") {
      status["unit"] = payload.ends_with("F") ? "F" : "C";
    } else if (topic.starts_with("temperature/")) {
      const std::string which = topic.substr(12) == "slave" ? "second" : topic.substr(12);
      temperatures[which] = payload == cli::kNoValue ? Json(nullptr) : Json(Number(payload));
    } else if (topic == "voltage") {
      status["voltage"] = Number(payload);
    } else if (topic.starts_with("error/") || topic.starts_with("activity/")) {
      const std::string name = topic.substr(topic.find('/') + 1);
      flags[name] = on;
      if (topic == "activity/cloud") cloud = on;
      if (topic == "activity/storm") storm = on;
    } else if (topic == "alarm" || topic == "saving") {
      flags[topic] = on;
    }
  }
  status["channels"] = std::move(channels);
  status["temperatures"] = std::move(temperatures);
  status["flags"] = std::move(flags);
  status["cloud"] = cloud;
  status["storm"] = storm;
  Json ordered = Json::object();
  for (const char* key : {"id", "connected", "clock", "row", "channels", "unit", "temperatures",
                          "voltage", "flags", "cloud", "storm"})
    ordered[key] = status[key];
  return ordered;
}

}  // namespace vmx::service
