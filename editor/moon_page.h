// The Moon page: each channel's moonlight level.
#pragma once

#include "ui/page.h"

namespace vmx {

class MoonPage final : public Page {
  Q_OBJECT

 public:
  explicit MoonPage(PageContext& context);
};

}  // namespace vmx
