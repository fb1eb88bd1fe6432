// The Moon page: each channel's moonlight level.
#pragma once

#include "app/page.h"

namespace vmx {

class MoonPage final : public Page {
  Q_OBJECT

 public:
  explicit MoonPage(TfrmLantix& form);
};

}  // namespace vmx
