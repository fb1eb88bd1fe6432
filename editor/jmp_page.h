// The JMP pin page: what the link port's JMP pin drives.
#pragma once

#include "app/page.h"

namespace vmx {

class JmpPage final : public Page {
  Q_OBJECT

 public:
  explicit JmpPage(TfrmLantix& form);
};

}  // namespace vmx
