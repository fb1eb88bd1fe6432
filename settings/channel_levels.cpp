#include "settings/channel_levels.h"

#include "link/shared_store.h"

namespace vmx {

void SetChannelLevel(SharedStore& store, int channel, int64_t value) {
  if (channel < 0 || channel >= kChannels) return;
  store.info.Channel[static_cast<size_t>(channel)] = static_cast<int16_t>(value);
  store.Raise(request::WriteInfoChannels);
}

void SetAllChannels(SharedStore& store, int16_t value) {
  for (int16_t& channel : store.info.Channel) channel = value;
  store.Raise(request::WriteInfoChannels);
}

}  // namespace vmx
