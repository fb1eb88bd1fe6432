// The White balance page: each channel's share of the balanced sum.
#pragma once

#include "ui/page.h"

namespace vmx {

class BalancePage final : public Page {
  Q_OBJECT

 public:
  explicit BalancePage(PageContext& context);
};

}  // namespace vmx
