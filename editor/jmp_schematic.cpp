#include "editor/jmp_schematic.h"
#include "ui/names.h"

#include <QPainter>
#include <QPainterPath>

namespace vmx {

JmpSchematic::JmpSchematic(QWidget* parent) : QWidget(parent) {
  setObjectName(names::imgJMP);
  setMinimumSize(sizeHint());
}

void JmpSchematic::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  const QColor ink = palette().color(QPalette::WindowText);
  p.setPen(QPen(ink, 1.5));
  const int x = 110;  // the coil's branch

  // Supply rail.
  p.drawText(QRect(x - 40, 8, 80, 16), Qt::AlignCenter, "+12 V");
  p.drawLine(x - 30, 28, x + 70, 28);
  p.drawLine(x, 28, x, 90);
  // Relay coil, and its switch drawn beside it.
  p.drawRect(x - 14, 90, 28, 50);
  p.drawLine(x - 14, 100, x + 14, 130);
  p.drawLine(x, 140, x, 210);
  QPen dashed(ink, 1, Qt::DashLine);
  p.setPen(dashed);
  p.drawLine(x - 14, 115, x - 80, 115);
  p.setPen(QPen(ink, 1.5));
  p.drawLine(x - 80, 80, x - 80, 100);
  p.drawLine(x - 80, 100, x - 60, 125);
  p.drawLine(x - 80, 130, x - 80, 150);
  p.drawEllipse(QPointF(x - 80, 100), 2, 2);
  p.drawEllipse(QPointF(x - 80, 130), 2, 2);
  // Flyback diode across the coil, cathode at the supply.
  const int d = x + 50;
  p.drawLine(x, 60, d, 60);
  p.drawLine(d, 60, d, 103);
  QPainterPath diode;
  diode.moveTo(d - 10, 127);
  diode.lineTo(d + 10, 127);
  diode.lineTo(d, 107);
  diode.closeSubpath();
  p.drawPath(diode);
  p.drawLine(d - 10, 105, d + 10, 105);
  p.drawLine(d, 127, d, 170);
  p.drawLine(d, 170, x, 170);
  // Link port: pin 5 pulls the coil to ground while the mode's event lasts.
  p.drawRect(x - 40, 210, 80, 60);
  p.drawEllipse(QPointF(x, 222), 4, 4);
  p.drawText(QRect(x - 36, 232, 72, 16), Qt::AlignCenter, "5");
  p.drawLine(x + 40, 250, x + 70, 250);
  p.drawLine(x + 70, 250, x + 70, 275);
  p.drawLine(x + 58, 275, x + 82, 275);
  p.drawLine(x + 62, 280, x + 78, 280);
  p.drawLine(x + 66, 285, x + 74, 285);
}

}  // namespace vmx
