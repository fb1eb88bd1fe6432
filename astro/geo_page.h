// The Geo page: the board's place on the world map with the sun and the moon.
#pragma once

#include "app/page.h"

namespace vmx {

class GeoPage final : public Page {
  Q_OBJECT

 public:
  explicit GeoPage(TfrmLantix& form);
};

}  // namespace vmx
