// The Delays page: how long each channel waits before a cloud or storm
// reaches it (255: no weather on that channel).
#pragma once

#include "editor/channel_rows_page.h"
#include "ui/names.h"

namespace vmx {

class WeatherDelayPage final : public ChannelRowsPage {
 public:
  explicit WeatherDelayPage(PageContext& context)
      : ChannelRowsPage(context, names::tsWeatherDelay, names::lblWeatherDelay, "WeatherDelay", 10) {}
};

}  // namespace vmx
