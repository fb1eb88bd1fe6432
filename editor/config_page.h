// The Configuration page: display, fans, backlight, time-lapse, and the health counters.
#pragma once

#include "app/page.h"

namespace vmx {

class ConfigPage final : public Page {
  Q_OBJECT

 public:
  explicit ConfigPage(TfrmLantix& form);
};

}  // namespace vmx
