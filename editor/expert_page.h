// The Expert options page: sensors, chart source, bus, time zone and display settings.
#pragma once

#include "app/page.h"

namespace vmx {

class ExpertPage final : public Page {
  Q_OBJECT

 public:
  explicit ExpertPage(TfrmLantix& form);
};

}  // namespace vmx
