// The words that name a channel: its letter and its colour name, in the
// current language.
#pragma once

#include <cstdint>
#include <string>

namespace vmx {

inline constexpr int kChannelCount = 12;
inline constexpr int kColorNameCount = 16;

// "A" for channel 0 up to "L" for channel 11; empty for any other number.
std::string ChannelLetter(int channel);

// The colour name of index 0..15; "Unnamed" (in the current language) for any
// other index, since the board may hold a value this program has no name for.
std::string ColorText(int index);

// The light tint of colour index 0..15 as opaque ARGB (0xFFRRGGBB), used behind
// a channel's fields. An index the board holds but this program has no name
// for takes the tint of "Unnamed".
uint32_t ChannelColor(int index);

// Letter, ": ", colour name, as lists and headings show a channel ("A: Red").
std::string ChannelCaption(int channel, int colorIndex);

}  // namespace vmx
