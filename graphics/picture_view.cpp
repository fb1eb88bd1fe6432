#include "graphics/picture_view.h"

#include <QMouseEvent>
#include <QPainter>

namespace vmx {

PictureView::PictureView(const QString& name, QWidget* parent) : QWidget(parent) {
  setObjectName(name);
  // The bitmap covers the whole widget: no background to erase first.
  setAttribute(Qt::WA_OpaquePaintEvent);
}

QImage& PictureView::Frame() {
  if (frame_.size() != size()) frame_ = QImage(size(), QImage::Format_ARGB32_Premultiplied);
  return frame_;
}

void PictureView::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  if (frame_.isNull()) {
    painter.fillRect(event->rect(), palette().window());
    return;
  }
  for (const QRect& r : event->region()) painter.drawImage(r, frame_, r);
}

void PictureView::mousePressEvent(QMouseEvent* event) {
  if (onPress) onPress(event);
}

void PictureView::mouseMoveEvent(QMouseEvent* event) {
  if (onMove) onMove(event);
}

void PictureView::mouseReleaseEvent(QMouseEvent* event) {
  if (onRelease) onRelease(event);
}

void PictureView::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (onResize) onResize();
}

void PictureView::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (onResize) onResize();
}

}  // namespace vmx
