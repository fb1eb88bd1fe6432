#include "cli/mqtt_options.h"

#include <fstream>

namespace vmx::cli {

bool ParseBrokerAddress(const std::string& text, MqttClient::Options& broker) {
  std::string host = text, port;
  if (text.starts_with('[')) {
    const size_t close = text.find(']');
    if (close == std::string::npos) return false;
    host = text.substr(1, close - 1);
    if (close + 1 < text.size()) {
      if (text[close + 1] != ':') return false;
      port = text.substr(close + 2);
    }
  } else if (const size_t colon = text.find(':'); colon != std::string::npos) {
    host = text.substr(0, colon);
    port = text.substr(colon + 1);
  }
  if (host.empty()) return false;
  broker.host = host;
  if (text.find(':') != std::string::npos && !text.starts_with('[') && port.empty()) return false;
  if (port.empty()) return true;
  int number = 0;
  for (const char c : port) {
    if (c < '0' || c > '9' || number > 65535) return false;
    number = number * 10 + (c - '0');
  }
  broker.port = number;
  return number >= 1 && number <= 65535;
}

bool ValidTopicPrefix(const std::string& prefix) {
  if (prefix.empty() || prefix.starts_with('/') || prefix.ends_with('/')) return false;
  return prefix.find_first_of("+#") == std::string::npos && prefix.find("//") == std::string::npos;
}

// The first line of the file, without its line end.
std::optional<std::string> ReadPasswordFile(const std::string& path) {
  std::ifstream in(path);
  std::string line;
  if (!in || !std::getline(in, line)) return std::nullopt;
  if (line.ends_with('\r')) line.pop_back();
  return line;
}

}  // namespace vmx::cli
