// The Visualization page: the schedule drawn as twelve curves over the day or
// the sun's path, one channel's points dragged with the mouse.
#pragma once

#include <memory>
#include <vector>

#include "graphics/schedule_geometry.h"
#include "ui/page.h"

class QCheckBox;
class QComboBox;
class QMouseEvent;
class QTimer;
class QWheelEvent;

namespace vmx {

class PictureView;
class SchedulePainter;

class VisualizePage final : public Page {
  Q_OBJECT

 public:
  explicit VisualizePage(PageContext& context);
  ~VisualizePage() override;

  void Apply(RecordKind record) override;
  void ChannelColorsChanged() override;
  void LanguageApplied() override;
  void Activated() override;

  // Draws the schedule as the shared table now holds it; a page out of sight
  // is drawn when it comes into view.
  void RefreshVisualization();

  int SelectedChannel() const { return selectedChannel_; }
  // Where the last drawing put each row's points: the mouse's hit test.
  const std::vector<PointPosition>& PointPositions() const { return points_; }
  // The channel list is open: the user is choosing from it.
  bool ChannelListOpen() const;
  int SelectedRow() const { return selectedRow_; }
  // The bitmap as last drawn.
  const QImage& Picture() const;

 protected:
  // The wheel anywhere in the window chooses the channel while this page is in front.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void imgMouseDown(const QMouseEvent* event);
  void imgMouseMove(const QMouseEvent* event);
  void imgMouseUp();
  void tmrVisualizeTimer();
  void cmbVisualizeChange(int index);
  bool FormMouseWheel(const QWheelEvent* event);
  void FillChannelBox();
  void SelectChannel(int channel);
  void CancelDrag();
  bool RowExists(int row) const;
  ScheduleView View() const;

  PictureView* img_;
  QComboBox* cmbVisualize_;
  QCheckBox* cbxTimeLock_;
  QTimer* tmrVisualize_;
  std::unique_ptr<SchedulePainter> painter_;
  ScheduleScene shown_;
  bool drawn_ = false;
  int selectedChannel_ = 0;
  int selectedRow_ = -1;
  std::vector<PointPosition> points_;  // one per row of the last drawing
  int wheelRest_ = 0;  // a high-resolution wheel's delta short of a whole step
};

}  // namespace vmx
