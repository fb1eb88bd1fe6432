// What the MQTT bridge says about a board: the retained state topics below
// PREFIX/ID, and the Home Assistant discovery documents that describe them.
// Numbers are written with a decimal point, whatever the locale.
#pragma once

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "link/records.h"

namespace vmx::cli {

// (topic, payload) pairs.
using TopicValues = std::vector<std::pair<std::string, std::string>>;

// The payloads of flags and of a temperature without a sensor.
inline constexpr const char* kOn = "ON";
inline constexpr const char* kOff = "OFF";
inline constexpr const char* kNoValue = "None";
// What the cloud, storm and save buttons send, and the only payload that presses them.
inline constexpr const char* kPress = "PRESS";

// The board's live state from a read Info and Config, topics relative to PREFIX/ID.
TopicValues BoardTopics(const Info& info, const Config& config);

// What the discovery documents need to know.
struct DiscoveryFacts {
  std::string base;  // PREFIX/ID
  std::string id;
  std::string unit;                               // the board's temperature unit
  std::array<std::string, kChannels> captions{};  // "A: ColdWhite"
  bool operator==(const DiscoveryFacts&) const = default;
};
// One document per entity: (homeassistant/COMPONENT/ID/OBJECT/config, JSON).
TopicValues DiscoveryDocuments(const DiscoveryFacts& facts);

}  // namespace vmx::cli
