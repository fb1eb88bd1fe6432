#include "graphics/chart_page.h"

#include <QAction>
#include <QDateTime>
#include <QMenu>
#include <QMouseEvent>
#include <QVBoxLayout>

#include "graphics/chart_painter.h"
#include "ui/names.h"
#include "ui/picture_view.h"
#include "lang/catalogue.h"
#include "ui/quiet.h"

namespace vmx {
namespace {

constexpr const char* kSourceItems[] = {names::mnuCHMTempWater, names::mnuCHMTempBoard, names::mnuCHMVoltage,
                                        names::mnuCHMTempSlave};

LocalDateTime ComputerNow() {
  const QDateTime now = QDateTime::currentDateTime();
  const QDate d = now.date();
  const QTime t = now.time();
  return {d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second(), t.msec()};
}

}  // namespace

ChartPage::ChartPage(PageContext& context)
    : Page(context, names::tsTemp),
      imgTemp_(new PictureView(names::imgTemp, this)),
      pumChart_(new QMenu(this)) {
  Subscribe({RecordKind::Chart});
  pumChart_->setObjectName(names::pumChart);
  int mode = 0;
  for (const char* name : kSourceItems) {
    QAction* item = pumChart_->addAction(QString());
    item->setObjectName(name);
    item->setCheckable(true);
    connect(item, &QAction::triggered, this, [this, mode] { mnuCHMClick(mode); });
    ++mode;
  }
  connect(pumChart_, &QMenu::aboutToShow, this, &ChartPage::pumChartPopup);

  imgTemp_->setCursor(Qt::CrossCursor);
  imgTemp_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(imgTemp_, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { pumChart_->popup(imgTemp_->mapToGlobal(at)); });
  imgTemp_->onPress = [this](QMouseEvent* e) { pressed_ = e->button() == Qt::LeftButton; };
  imgTemp_->onRelease = [this](QMouseEvent* e) {
    // A click: pressed and released with the left button over the chart.
    const bool click = pressed_ && e->button() == Qt::LeftButton &&
                       imgTemp_->rect().contains(e->position().toPoint());
    pressed_ = false;
    if (click) imgTempClick();
  };
  imgTemp_->onResize = [this] { DrawChart(); };

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(imgTemp_);
}

const QImage& ChartPage::Picture() const {
  return imgTemp_->Picture();
}

void ChartPage::Apply(RecordKind record) {
  if (record == RecordKind::Chart) DrawChart();
}

void ChartPage::DrawChart() {
  if (!imgTemp_->isVisible()) return;
  try {
    const SharedStore& store = Context().Store();
    const ChartScene scene =
        LayoutChart(imgTemp_->width(), imgTemp_->height(), store.chart, store.expert, store.info,
                    store.config.Flag, ComputerNow(), DecimalSeparator());
    PaintChart(scene, QString::fromStdString(LangText("PelorixTempNotConnected")), imgTemp_->font(),
               imgTemp_->Frame());
  } catch (const std::exception& e) {
    Context().AddLogLine(e.what());
  }
  imgTemp_->Present();
}

void ChartPage::imgTempClick() {
  Context().Raise(request::ReadChart);
}

void ChartPage::pumChartPopup() {
  const Info& info = Context().Store().info;
  const int mode = Context().Store().expert.ChartMode;
  const QList<QAction*> items = pumChart_->actions();
  for (int i = 0; i < items.size(); ++i) items[i]->setChecked(i == mode);
  items[0]->setEnabled(info.TempWater != kNoTemperature);
  items[3]->setEnabled(info.TempSlave != kNoTemperature);
}

// The radio buttons follow, and the chart is read again in its new source.
void ChartPage::mnuCHMClick(int chartMode) {
  Context().Store().expert.ChartMode = static_cast<uint8_t>(chartMode);
  Context().ApplyRecord(RecordKind::Expert);
  Context().Raise(request::ChartSourceSet);
}

}  // namespace vmx
