// The Delays page: how long each channel waits before a cloud or storm
// reaches it (255: no weather on that channel).
#pragma once

#include "editor/channel_rows_page.h"

namespace vmx {

class WeatherDelayPage final : public ChannelRowsPage {
 public:
  explicit WeatherDelayPage(PageContext& context)
      : ChannelRowsPage(context, "tsWeatherDelay", "lblWeatherDelay", "WeatherDelay", 10) {}
};

}  // namespace vmx
