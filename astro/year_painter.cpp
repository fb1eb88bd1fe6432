#include "astro/year_painter.h"

#include <QFontMetrics>
#include <QLocale>
#include <QPainter>
#include <cmath>

#include "graphics/round_even.h"

namespace vmx {
namespace {

constexpr QRgb kBlack = 0xFF000000;
constexpr QRgb kGrid = 0xFF202020;
constexpr QRgb kGrey = 0xFF808080;
constexpr QRgb kToday = 0xFFC0C0C0;

}  // namespace

void PaintYear(const YearChartScene& scene, const QFont& font, QImage& frame) {
  const int w = scene.width, h = scene.height;
  if (frame.size() != QSize(w, h)) frame = QImage(w, h, QImage::Format_ARGB32_Premultiplied);
  if (frame.isNull()) return;
  frame.fill(kBlack);
  if (scene.x.empty()) return;
  QPainter p(&frame);
  QFont small(font);
  small.setPointSize(8);
  p.setFont(small);
  const QFontMetrics fm(small);
  const int top = scene.hours.empty() ? 0 : RoundEven(scene.hours.back().at);
  const int bottom = scene.hours.empty() ? h : RoundEven(scene.hours.front().at);
  const int left =
      RoundEven(scene.x.front() - (scene.x.size() > 1 ? (scene.x[1] - scene.x[0]) / 2 : 0));
  const int right = w - 20;

  // Grid lines are filled rectangles: far cheaper than drawn lines.
  p.setPen(QColor::fromRgba(kGrey));
  const QLocale locale;
  for (const YearMark& m : scene.months) {
    p.fillRect(QRect(RoundEven(m.at), top, 1, bottom - top), QColor::fromRgba(kGrid));
    p.drawText(QPoint(RoundEven(m.at) + 3, h - 4), locale.monthName(m.value, QLocale::ShortFormat));
  }
  for (const YearMark& m : scene.hours) {
    p.fillRect(QRect(left, RoundEven(m.at), right - left, 1), QColor::fromRgba(kGrid));
    const QString text = QString::number(m.value);
    p.drawText(QPoint(left - 6 - fm.horizontalAdvance(text), RoundEven(m.at) + fm.ascent() / 2),
               text);
  }
  if (scene.today) p.fillRect(QRect(RoundEven(*scene.today), 0, 1, h), QColor::fromRgba(kToday));

  int legendX = left;
  for (const auto& [color, text] : scene.legend) {
    const QString caption = QString::fromStdString(text);
    p.fillRect(QRect(legendX, 6, 12, 8), QColor::fromRgba(color));
    p.setPen(QColor::fromRgba(kGrey));
    p.drawText(QPoint(legendX + 16, 6 + fm.ascent() - 2), caption);
    legendX += 32 + fm.horizontalAdvance(caption);
  }

  p.setRenderHint(QPainter::Antialiasing);
  std::vector<QPointF> points;
  points.reserve(scene.x.size());
  for (const YearCurve& curve : scene.curves) {
    // A run of days with the same hours is one straight piece: its inner
    // points only cost antialiasing time (a clock-keyed schedule is all runs).
    points.clear();
    const size_t n = std::min(scene.x.size(), curve.y.size());
    for (size_t i = 0; i < n; ++i) {
      if (i > 0 && i + 1 < n && curve.y[i - 1] == curve.y[i] && curve.y[i + 1] == curve.y[i])
        continue;
      points.emplace_back(scene.x[i], curve.y[i]);
    }
    QPen pen(QColor::fromRgba(curve.color), curve.width);
    pen.setCosmetic(true);
    p.setPen(pen);
    p.drawPolyline(points.data(), static_cast<int>(points.size()));
  }
}

}  // namespace vmx
