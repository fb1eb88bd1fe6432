// Names that stand for one name per channel, as the tables of controls,
// record fields and settings keys write them: a trailing "#" is the channel
// index 0..11, so "trb#" stands for trb0 .. trb11.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vmx {

inline constexpr char kChannelMark = '#';

constexpr bool PerChannel(std::string_view pattern) {
  return pattern.ends_with(kChannelMark);
}
// "trb#" and 3 give "trb3"; a name without the mark, or channel -1, stays as it is.
std::string ChannelName(std::string_view pattern, int channel);
// The twelve names of "trb#"; the name itself for one without the mark.
std::vector<std::string> ExpandChannels(std::string_view pattern);
// "trb#" against "trb11" gives 11 (no leading zeros, nothing past 11); a name
// without the mark against itself gives -1; anything else nothing.
std::optional<int> MatchChannel(std::string_view pattern, std::string_view name);

}  // namespace vmx
