#include "astro/year_window.h"

#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>
#include <algorithm>

#include "astro/board_clock.h"
#include "astro/board_time_zone.h"
#include "astro/decimal_text.h"
#include "astro/year_painter.h"
#include "graphics/schedule_geometry.h"
#include "lang/catalogue.h"
#include "settings/device_actions.h"
#include "ui/page_context.h"
#include "ui/quiet.h"

namespace vmx {

YearChartView::YearChartView(QWidget* parent) : QWidget(parent) {
  setObjectName("imgYear");
  setMinimumSize(600, 300);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void YearChartView::Show(const YearReport& report, const std::array<uint32_t, kChannels>& colors,
                         std::optional<int> today) {
  report_ = report;
  colors_ = colors;
  today_ = today;
  stale_ = true;
  update();
}

void YearChartView::Render() {
  if (!stale_ && frame_.size() == size()) return;
  // A drawing error leaves the last picture; nothing may escape a paint.
  try {
    PaintYear(LayoutYearChart(report_, width(), height(), colors_, today_), font(), frame_);
    stale_ = false;
  } catch (...) {
  }
}

void YearChartView::paintEvent(QPaintEvent*) {
  Render();
  QPainter(this).drawImage(0, 0, frame_);
}

void YearChartView::resizeEvent(QResizeEvent*) {
  stale_ = true;
}

YearWindow::YearWindow(PageContext& context, QWidget* parent)
    : QDialog(parent), context_(context) {
  setObjectName("frmYear");
  auto* layout = new QVBoxLayout(this);
  chart_ = new YearChartView(this);
  layout->addWidget(chart_, 1);
  warnings_ = new QLabel(this);
  warnings_->setObjectName("lblYearWarnings");
  warnings_->setWordWrap(true);
  warnings_->setTextFormat(Qt::PlainText);
  layout->addWidget(warnings_);
  resize(1000, 560);
}

void YearWindow::Refresh() {
  SharedStore& store = context_.Store();
  const LocalDateTime computer = ComputerClock();
  // The board's date where its clock runs, else the computer's.
  const LocalDateTime now = BoardClockTime(store.info).value_or(computer);
  YearRequest request;
  request.latTenths = store.config.Lat;
  request.lonTenths = store.config.Lon;
  request.year = std::clamp(now.year, kFirstExploredYear, kLastExploredYear);
  if (context_.Connected())
    request.zone = std::make_shared<const BoardTimeZone>(store.expert);
  else
    request.zone = CurrentTimeZone();
  if (!store.schedule.empty())
    request.schedule = YearSchedule{ModeOf(store.config.Mode) == BoardMode::Geo, store.schedule};
  report_ = ExploreYear(request);

  const std::string separator = DecimalSeparator();
  setWindowTitle(QString::fromStdString(LangFormat(
      "YearCaption", {FormatUpToOneDecimal(request.latTenths * 0.1, separator) + "\u00B0, " +
                          FormatUpToOneDecimal(request.lonTenths * 0.1, separator) + "\u00B0, " +
                          std::to_string(request.year)})));
  if (!report_) {
    warnings_->clear();
    return;
  }
  std::array<uint32_t, kChannels> colors{};
  for (size_t c = 0; c < kChannels; ++c) colors[c] = CurveColor(store.config.ColorName[c]);
  const std::optional<int> today =
      now.year == request.year
          ? std::optional<int>(static_cast<int>(DaysFromCivil(now.year, now.month, now.day) -
                                                DaysFromCivil(now.year, 1, 1)))
          : std::nullopt;
  chart_->Show(*report_, colors, today);
  std::string text;
  for (const YearWarning& w : report_->warnings)
    text += (text.empty() ? "" : "\n") + WarningText(*report_, w, separator);
  warnings_->setText(QString::fromStdString(text.empty() ? LangText("YearNoWarnings") : text));
}

}  // namespace vmx
