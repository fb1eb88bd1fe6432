// The Chart page: the board's recorded temperatures or voltage, with the
// chart-source pop-up menu pumChart.
#pragma once

#include "app/page.h"

class QMenu;

namespace vmx {

class ChartPage final : public Page {
  Q_OBJECT

 public:
  explicit ChartPage(TfrmLantix& form);

  QMenu* pumChart() const { return pumChart_; }

 private:
  QMenu* pumChart_;
};

}  // namespace vmx
