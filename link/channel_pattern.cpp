#include "link/channel_pattern.h"

#include <charconv>

#include "link/records.h"

namespace vmx {

std::string ChannelName(std::string_view pattern, int channel) {
  std::string name(pattern);
  if (channel >= 0 && PerChannel(pattern))
    name.replace(name.size() - 1, 1, std::to_string(channel));
  return name;
}

std::vector<std::string> ExpandChannels(std::string_view pattern) {
  if (!PerChannel(pattern)) return {std::string(pattern)};
  std::vector<std::string> names;
  for (int n = 0; n < kChannels; ++n) names.push_back(ChannelName(pattern, n));
  return names;
}

std::optional<int> MatchChannel(std::string_view pattern, std::string_view name) {
  if (pattern.empty()) return std::nullopt;
  if (!PerChannel(pattern)) return pattern == name ? std::optional<int>(-1) : std::nullopt;
  pattern.remove_suffix(1);
  if (!name.starts_with(pattern)) return std::nullopt;
  const std::string_view digits = name.substr(pattern.size());
  int channel = -1;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), channel);
  if (digits.empty() || error != std::errc() || end != digits.data() + digits.size() ||
      channel < 0 || channel >= kChannels || (digits.size() > 1 && digits[0] == '0'))
    return std::nullopt;
  return channel;
}

}  // namespace vmx
