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

constexpr std::array<uint32_t, kColorNameCount> kChannelColors = {
    0xFFFFFFFF, 0xFFFFFFFF, 0xFFFF8080, 0xFF80FF80, 0xFF8080FF, 0xFFC080FF,
    0xFFFFFFFF, 0xFFF0F0FF, 0xFFFFFFE0, 0xFFFFFF00, 0xFFFF80C0, 0xFFA080FF,
    0xFF80FFFF, 0xFFC080FF, 0xFFFFC080, 0xFFC08080};

}  // namespace

uint32_t ChannelColor(int index) {
  if (index < 0 || index >= kColorNameCount) index = 0;
  return kChannelColors[static_cast<size_t>(index)];
}

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
