// The Chart page: the board's recorded temperatures or voltage, with the
// chart-source pop-up menu pumChart.
#pragma once

#include "ui/page.h"

class QMenu;

namespace vmx {

class ChartPage final : public Page {
  Q_OBJECT

 public:
  explicit ChartPage(PageContext& context);

  QMenu* pumChart() const { return pumChart_; }

 private:
  void mnuCHMClick(int chartMode);

  QMenu* pumChart_;
};

}  // namespace vmx
