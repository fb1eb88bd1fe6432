// The Delays page: how long each channel lags behind the weather.
#pragma once

#include "app/page.h"

namespace vmx {

class WeatherDelayPage final : public Page {
  Q_OBJECT

 public:
  explicit WeatherDelayPage(TfrmLantix& form);
};

}  // namespace vmx
