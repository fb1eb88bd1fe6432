// The Weather page: clouds, thunderstorms and lightning.
#pragma once

#include "ui/page.h"

namespace vmx {

class WeatherPage final : public Page {
  Q_OBJECT

 public:
  explicit WeatherPage(PageContext& context);
};

}  // namespace vmx
