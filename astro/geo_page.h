// The Geo page: the board's place on the world map with the sun and the moon.
#pragma once

#include "ui/page.h"

namespace vmx {

class GeoPage final : public Page {
  Q_OBJECT

 public:
  explicit GeoPage(PageContext& context);
};

}  // namespace vmx
