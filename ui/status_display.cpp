#include "ui/status_display.h"

#include <QApplication>
#include <QDate>
#include <QLabel>
#include <QLocale>
#include <QPalette>
#include <QTime>

#include "settings/board_status.h"
#include "ui/names.h"
#include "ui/page_context.h"
#include "ui/quiet.h"

namespace vmx {
namespace {

// The board clock in the user's formats. A date or time the calendar does not
// have (month 0 before the clock is set) is left out rather than shown wrong.
QString BoardClock(const Info& info) {
  const QLocale locale;
  const QDate date(2000 + info.Year, info.Month, info.Day);
  const QTime time(info.Hour, info.Minute, info.Second);
  QStringList parts;
  if (date.isValid()) parts << locale.toString(date, QLocale::ShortFormat);
  if (time.isValid()) parts << locale.toString(time, QLocale::LongFormat).remove(" UTC").trimmed();
  return parts.join(' ');
}

void ColourLabel(QLabel* label, bool alarm) {
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText,
                   alarm ? QColor(Qt::red) : QApplication::palette().color(QPalette::WindowText));
  label->setPalette(palette);
}

}  // namespace

void StatusDisplay::ApplyInfo() {
  const SharedStore& store = context_.Store();
  const Info& info = store.info;
  context_.SetStatusPanel(1, BoardClock(info));
  const QString status = QString::fromStdString(
      BoardStatusText(info, store.config.Flag, context_.PortName(), DecimalSeparator()));
  context_.SetCaptionStatus(status);
  if (auto* board = qobject_cast<QLabel*>(context_.Control(names::lblBoard))) {
    board->setText(status);
    ColourLabel(board, BoardStatusAlarming(info.ErrorFlags));
  }
}

void StatusDisplay::UpdateModePanel() {
  const SharedStore& store = context_.Store();
  context_.SetStatusPanel(
      2, QString::fromStdString(
             ModePanelText(store.config.Mode, store.info.ActivityFlags, store.info.StatusFlags)));
}

void StatusDisplay::LinkLost() {
  context_.SetStatusPanel(1, {});
  context_.SetStatusPanel(2, {});
  if (auto* board = qobject_cast<QLabel*>(context_.Control(names::lblBoard))) board->clear();
  context_.SetCaptionStatus({});
}

}  // namespace vmx
