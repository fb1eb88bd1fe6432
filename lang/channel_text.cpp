#include "lang/channel_text.h"

#include <array>
#include <string_view>

#include "lang/catalogue.h"

namespace vmx {
namespace {

constexpr std::array<std::string_view, kColorNameCount> kColorKeys = {
    "ColorUnnamed",   "ColorWhite",  "ColorRed",       "ColorGreen",
    "ColorBlue",      "ColorUV",     "ColorMoonLight", "ColorColdWhite",
    "ColorWarmWhite", "ColorYellow", "ColorPurple",    "ColorRoyalBlue",
    "ColorCyan",      "ColorViolet", "ColorOrange",    "ColorDeepRed"};

}  // namespace

std::string ChannelLetter(int channel) {
  if (channel < 0 || channel >= kChannelCount) return {};
  return std::string(1, static_cast<char>('A' + channel));
}

std::string ColorText(int index) {
  if (index < 0 || index >= kColorNameCount) index = 0;
  return LangText(kColorKeys[static_cast<size_t>(index)]);
}

std::string ChannelCaption(int channel, int colorIndex) {
  return ChannelLetter(channel) + ": " + ColorText(colorIndex);
}

}  // namespace vmx
