// The Delays page: how long each channel lags behind the weather.
#pragma once

#include "ui/page.h"

namespace vmx {

class WeatherDelayPage final : public Page {
  Q_OBJECT

 public:
  explicit WeatherDelayPage(PageContext& context);
};

}  // namespace vmx
