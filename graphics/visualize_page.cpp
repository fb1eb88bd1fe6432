#include "graphics/visualize_page.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QTimer>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <algorithm>

#include "ui/names.h"
#include "ui/picture_view.h"
#include "graphics/schedule_painter.h"
#include "lang/channel_text.h"
#include "ui/controls.h"
#include "ui/quiet.h"

namespace vmx {
namespace {

constexpr int kDragTick = 25;    // ms between redraws while a drag may run
constexpr int kWheelStep = 120;  // one notch of a mouse wheel

}  // namespace

VisualizePage::VisualizePage(PageContext& context)
    : Page(context, names::tsVisualize),
      img_(new PictureView(names::img, this)),
      cmbVisualize_(new QComboBox(this)),
      cbxTimeLock_(new QCheckBox(this)),
      tmrVisualize_(new QTimer(this)),
      painter_(std::make_unique<SchedulePainter>()) {
  Subscribe({RecordKind::Info, RecordKind::Config, RecordKind::Schedule});
  img_->setCursor(Qt::CrossCursor);
  img_->setMinimumSize(200, 100);
  img_->onPress = [this](QMouseEvent* e) { imgMouseDown(e); };
  img_->onMove = [this](QMouseEvent* e) { imgMouseMove(e); };
  img_->onRelease = [this](QMouseEvent*) { imgMouseUp(); };
  img_->onResize = [this] { RefreshVisualization(); };

  cmbVisualize_->setObjectName(names::cmbVisualize);
  cmbVisualize_->setFixedWidth(145);
  connect(cmbVisualize_, &QComboBox::activated, this, &VisualizePage::cmbVisualizeChange);
  cbxTimeLock_->setObjectName(names::cbxTimeLock);
  tmrVisualize_->setObjectName("tmrVisualize");
  tmrVisualize_->setInterval(kDragTick);
  connect(tmrVisualize_, &QTimer::timeout, this, &VisualizePage::tmrVisualizeTimer);

  QLabel* label = NewLabel(this, names::lblVisualize);
  label->setBuddy(cmbVisualize_);
  auto* bottom = new QHBoxLayout;
  bottom->setContentsMargins(8, 2, 8, 4);
  bottom->addWidget(label);
  bottom->addWidget(cmbVisualize_);
  bottom->addStretch(1);
  bottom->addWidget(cbxTimeLock_);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(img_, 1);
  layout->addLayout(bottom);

  if (QCoreApplication* app = QCoreApplication::instance()) app->installEventFilter(this);
}

VisualizePage::~VisualizePage() = default;

const QImage& VisualizePage::Picture() const {
  return img_->Picture();
}

ScheduleView VisualizePage::View() const {
  return {img_->width(), img_->height()};
}

void VisualizePage::LanguageApplied() {
  FillChannelBox();
}

void VisualizePage::ChannelColorsChanged() {
  // A list the user holds open keeps its items until it closes.
  if (cmbVisualize_->view()->isVisible()) return;
  FillChannelBox();
  RefreshVisualization();
}

void VisualizePage::FillChannelBox() {
  // Refilled quietly: only the user's choice selects a channel.
  const QSignalBlocker quiet(cmbVisualize_);
  const Config& config = Context().Store().config;
  cmbVisualize_->clear();
  for (int i = 0; i < kChannels; ++i)
    cmbVisualize_->addItem(
        QString::fromStdString(ChannelCaption(i, config.ColorName[static_cast<size_t>(i)])));
  cmbVisualize_->setCurrentIndex(selectedChannel_);
}

bool VisualizePage::ChannelListOpen() const {
  return cmbVisualize_->view()->isVisible();
}

void VisualizePage::Apply(RecordKind record) {
  if (record == RecordKind::Info) {
    // The table may have shrunk: positions past its end are no longer drawn ones.
    points_.resize(std::min(points_.size(), Context().Store().schedule.size()));
    if (Context().ActivePage() == this) RefreshVisualization();
    return;
  }
  RefreshVisualization();
}

void VisualizePage::Activated() {
  RefreshVisualization();
}

void VisualizePage::RefreshVisualization() {
  SharedStore& store = Context().Store();
  cbxTimeLock_->setVisible(ModeOf(store.config.Mode) != BoardMode::Geo);
  if (!img_->isVisible()) return;  // drawn again when it is shown
  try {
    ScheduleScene scene = LayoutSchedule(View(), store.schedule, store.info, store.config,
                                         {selectedChannel_, selectedRow_}, DecimalSeparator());
    points_.resize(scene.points.size());
    for (size_t k = 0; k < points_.size(); ++k) {
      points_[k].x = scene.points[k].x;
      points_[k].y = scene.points[k].y;
    }
    // Nothing that shows has changed: the picture stays.
    if (drawn_ && scene == shown_ && Picture().size() == img_->size()) return;
    drawn_ = false;
    painter_->Paint(scene, img_->font(), img_->Frame());
    shown_ = std::move(scene);
    drawn_ = true;
    img_->Present(painter_->Changed());
  } catch (const std::exception& e) {
    Context().AddLogLine(e.what());
    img_->Present();
  }
}

bool VisualizePage::RowExists(int row) const {
  const SharedStore& store = Context().Store();
  return row >= 0 && row < static_cast<int>(store.schedule.size());
}

void VisualizePage::imgMouseDown(const QMouseEvent* event) {
  SharedStore& store = Context().Store();
  if (store.Pending(request::ReadSchedule) || !View().Drawable()) return;
  tmrVisualize_->start();
  const size_t rows = std::min(points_.size(), store.schedule.size());
  const QPointF at = event->position();
  const int row = HitRow(std::span(points_.data(), rows), selectedChannel_, at.x(), at.y());
  if (row >= 0) selectedRow_ = row;
}

void VisualizePage::imgMouseMove(const QMouseEvent* event) {
  SharedStore& store = Context().Store();
  if (selectedRow_ < 0 || store.Pending(request::ReadSchedule)) return;
  if (!RowExists(selectedRow_)) {
    CancelDrag();
    return;
  }
  const bool moveTime =
      !cbxTimeLock_->isChecked() && ModeOf(store.config.Mode) != BoardMode::Geo;
  const QPointF at = event->position();
  DragRow(store.schedule[static_cast<size_t>(selectedRow_)], selectedChannel_, View(), at.x(),
          at.y(), moveTime);
}

void VisualizePage::imgMouseUp() {
  if (selectedRow_ < 0) return;
  const int row = selectedRow_;
  selectedRow_ = -1;
  tmrVisualize_->stop();
  if (RowExists(row)) {
    Context().Store().MarkRows(static_cast<size_t>(row), 1, request::WriteSchedule);
  }
  RefreshVisualization();
}

void VisualizePage::CancelDrag() {
  selectedRow_ = -1;
  tmrVisualize_->stop();
  RefreshVisualization();
}

void VisualizePage::tmrVisualizeTimer() {
  if (Context().WindowVisible()) RefreshVisualization();
}

void VisualizePage::cmbVisualizeChange(int index) {
  if (index < 0 || index >= kChannels) return;
  selectedChannel_ = index;
  RefreshVisualization();
}

void VisualizePage::SelectChannel(int channel) {
  selectedChannel_ = std::clamp(channel, 0, kChannels - 1);
  const QSignalBlocker quiet(cmbVisualize_);
  cmbVisualize_->setCurrentIndex(selectedChannel_);
  RefreshVisualization();
}

bool VisualizePage::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::Wheel) return false;
  const auto* widget = qobject_cast<QWidget*>(watched);
  if (!widget || widget->window() != window()) return false;
  return FormMouseWheel(static_cast<const QWheelEvent*>(event));
}

bool VisualizePage::FormMouseWheel(const QWheelEvent* event) {
  if (Context().ActivePage() != this || selectedRow_ >= 0) return false;
  const int delta = event->angleDelta().y();
  if (delta == 0) return false;
  wheelRest_ += delta;
  const int steps = wheelRest_ / kWheelStep;
  wheelRest_ %= kWheelStep;
  // Down (a negative delta) goes on to the next channel.
  if (steps != 0) SelectChannel(selectedChannel_ - steps);
  return true;
}

}  // namespace vmx
