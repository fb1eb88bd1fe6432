// The Weather page: clouds, thunderstorms and lightning.
#pragma once

#include "app/page.h"

namespace vmx {

class WeatherPage final : public Page {
  Q_OBJECT

 public:
  explicit WeatherPage(TfrmLantix& form);
};

}  // namespace vmx
