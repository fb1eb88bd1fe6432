#include "graphics/chart_painter.h"

#include <QDate>
#include <QFontMetrics>
#include <QLocale>
#include <QPainter>
#include <QTime>
#include <cmath>

#include "graphics/round_even.h"

namespace vmx {
namespace {

constexpr QRgb kWhite = 0xFFFFFFFF;
constexpr QRgb kGrey = 0xFF808080;
constexpr QRgb kLine = 0xFFD0D0D0;
constexpr QRgb kMinorLine = 0xFFF0F0F0;
constexpr QRgb kHot = 0xFFFFF0F0;

void TextAt(QPainter& p, const QFontMetrics& fm, int x, int y, const QString& text) {
  p.drawText(QPoint(x, y + fm.ascent()), text);
}

QString TickText(const ChartTick& tick) {
  const QLocale locale;
  if (tick.midnight)
    return locale.toString(QDate(tick.at.year, tick.at.month, tick.at.day), QLocale::ShortFormat);
  return locale.toString(QTime(tick.at.hour, tick.at.minute), QLocale::ShortFormat);
}

}  // namespace

void PaintChart(const ChartScene& scene, const QString& notConnected, const QFont& font,
                QImage& frame) {
  const int w = scene.width;
  const int h = scene.height;
  if (frame.size() != QSize(w, h)) frame = QImage(w, h, QImage::Format_ARGB32_Premultiplied);
  if (frame.isNull()) return;
  frame.fill(kWhite);
  QPainter p(&frame);
  QFont small(font);
  small.setPointSize(8);
  p.setFont(small);
  const QFontMetrics fm(small);

  if (!scene.hasData) {
    p.setPen(QColor::fromRgba(kGrey));
    TextAt(p, fm, (w - fm.horizontalAdvance(notConnected)) / 2, (h - fm.height()) / 2,
           notConnected);
    return;
  }
  if (scene.shadeBottom) p.fillRect(QRect(0, 0, w, *scene.shadeBottom), QColor::fromRgba(kHot));

  // One-pixel grid lines are filled as rectangles: the line drawing's per-pixel
  // path costs several times as much for the same pixels.
  for (const ChartTick& tick : scene.ticks) {
    p.fillRect(QRect(RoundEven(tick.x), 20, 1, h - 40), QColor::fromRgba(kLine));
    p.setPen(QColor::fromRgba(kGrey));
    const QString text = TickText(tick);
    TextAt(p, fm, RoundEven(tick.x), 1, text);
    TextAt(p, fm, RoundEven(tick.x), h - 13, text);
  }

  for (const ChartGridLine& line : scene.grid) {
    p.fillRect(QRect(40, RoundEven(line.y), w - 79, 1),
               QColor::fromRgba(line.text.empty() ? kMinorLine : kLine));
    if (line.text.empty()) continue;
    const QString text = QString::fromStdString(line.text);
    p.setPen(QColor::fromRgba(kGrey));
    TextAt(p, fm, w - fm.horizontalAdvance(text), RoundEven(line.y) - 6, text);
    TextAt(p, fm, 0, RoundEven(line.y) - 6, text);
  }

  const QColor color = QColor::fromRgba(scene.color);
  const QString present = QString::fromStdString(scene.presentText);
  p.setPen(color);
  TextAt(p, fm, w - fm.horizontalAdvance(present), RoundEven(scene.presentY) - 6, present);

  std::vector<QPointF> curve;
  curve.reserve(scene.curve.size());
  for (const ChartPoint& point : scene.curve) curve.emplace_back(point.x, point.y);
  p.setRenderHint(QPainter::Antialiasing);
  QPen pen(color, 1);
  pen.setCosmetic(true);
  p.setPen(pen);
  p.drawPolyline(curve.data(), static_cast<int>(curve.size()));
}

}  // namespace vmx
