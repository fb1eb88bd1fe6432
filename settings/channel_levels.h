// Channels set by hand: one channel's intensity, as its percent field, slider
// or ON/OFF buttons set it, and all twelve at once, as the menu items do.
// Only the Info record changes and one SetInfo is asked for.
#pragma once

#include <cstdint>

namespace vmx {

class SharedStore;

namespace channel_level {
constexpr int16_t Off = 0, TwentyPercent = 819, Full = 4096;
}

// Stores `value` in the channel's Info field (cut to its 16 bits, without a
// range check, as a typed percent is) and raises WriteInfoChannels.
void SetChannelLevel(SharedStore& store, int channel, int64_t value);
// Every channel to `value`; WriteInfoChannels is raised once.
void SetAllChannels(SharedStore& store, int16_t value);

}  // namespace vmx
