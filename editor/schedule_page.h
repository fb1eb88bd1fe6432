// The Schedule page: the daily schedule as a grid of rows, with the column
// pop-up menu pumCol.
#pragma once

#include "ui/page.h"

class QMenu;

namespace vmx {

class SchedulePage final : public Page {
  Q_OBJECT

 public:
  explicit SchedulePage(PageContext& context);

  QMenu* pumCol() const { return pumCol_; }

 private:
  QMenu* pumCol_;
};

}  // namespace vmx
