// The MQTT options the command line's bridge and the service share.
#pragma once

#include <optional>
#include <string>

#include "cli/mqtt_client.h"

namespace vmx::cli {

// HOST, HOST:PORT or [ADDRESS]:PORT into `broker`; false when it is none of them.
bool ParseBrokerAddress(const std::string& text, MqttClient::Options& broker);
// Topic levels without +, # or empty levels.
bool ValidTopicPrefix(const std::string& prefix);
// The first line of the file, without its line end.
std::optional<std::string> ReadPasswordFile(const std::string& path);

}  // namespace vmx::cli
