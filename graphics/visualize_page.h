// The Visualization page: the schedule drawn as curves and dragged with the mouse.
#pragma once

#include "ui/page.h"

namespace vmx {

class VisualizePage final : public Page {
  Q_OBJECT

 public:
  explicit VisualizePage(PageContext& context);
};

}  // namespace vmx
