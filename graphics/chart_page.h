// The Chart page: the board's recorded temperatures or voltage, with the
// chart-source pop-up menu pumChart.
#pragma once

#include <QImage>

#include "ui/page.h"

class QMenu;

namespace vmx {

class PictureView;

class ChartPage final : public Page {
  Q_OBJECT

 public:
  explicit ChartPage(PageContext& context);

  void Apply(RecordKind record) override;

  QMenu* pumChart() const { return pumChart_; }
  // Draws the last chart read; a page out of sight is drawn when it comes into view.
  void DrawChart();
  // The bitmap as last drawn.
  const QImage& Picture() const;

 private:
  void mnuCHMClick(int chartMode);
  void pumChartPopup();
  void imgTempClick();

  PictureView* imgTemp_;
  QMenu* pumChart_;
  bool pressed_ = false;
};

}  // namespace vmx
