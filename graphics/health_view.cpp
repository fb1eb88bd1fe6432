#include "graphics/health_view.h"

#include <QFontMetrics>
#include <QPainter>

#include "ui/names.h"
#include "ui/page_context.h"
#include "ui/quiet.h"

namespace vmx {

HealthView::HealthView(PageContext& context, QWidget* parent)
    : PictureView(names::imgHealth, parent), context_(context) {
  setFixedHeight(153);
  setMinimumWidth(200);
  onResize = [this] {
    if (isVisible()) DrawHealth();
  };
}

QFont HealthFont(const QFont& base) {
  QFont font(base);
  for (int pixels = 12; pixels > 7; --pixels) {
    font.setPixelSize(pixels);
    const QFontMetrics fm(font);
    if (fm.horizontalAdvance("Power cycles: ") <= 70 && fm.height() <= 14) break;
  }
  return font;
}

void PaintHealth(const HealthScene& scene, const QColor& background, const QColor& text,
                 const QFont& font, QImage& frame) {
  if (frame.isNull()) return;
  frame.fill(background);
  QPainter p(&frame);
  p.setFont(font);
  p.setPen(text);
  const QFontMetrics fm(font);
  for (const HealthText& t : scene.texts)
    p.drawText(QPoint(t.x, t.y + fm.ascent()), QString::fromStdString(t.text));
  for (const HealthSegment& s : scene.bars)
    p.fillRect(QRect(s.left, s.top, s.right - s.left, s.bottom - s.top), QColor::fromRgba(s.color));
}

void HealthView::DrawHealth() {
  try {
    QImage& frame = Frame();
    PaintHealth(LayoutHealth(context_.Store().health, frame.width(), DecimalSeparator()),
                palette().color(QPalette::Window), palette().color(QPalette::WindowText),
                HealthFont(font()), frame);
  } catch (const std::exception& e) {
    context_.AddLogLine(e.what());
  }
  Present();
}

}  // namespace vmx
