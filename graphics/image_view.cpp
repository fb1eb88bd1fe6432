#include "graphics/image_view.h"

#include <QMouseEvent>
#include <QPainter>

namespace vmx {

ImageView::ImageView(const QString& name, QWidget* parent) : QWidget(parent) {
  setObjectName(name);
  // The bitmap covers the whole widget: no background to erase first.
  setAttribute(Qt::WA_OpaquePaintEvent);
}

QImage& ImageView::Frame() {
  if (frame_.size() != size()) frame_ = QImage(size(), QImage::Format_ARGB32_Premultiplied);
  return frame_;
}

void ImageView::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  if (frame_.isNull()) {
    painter.fillRect(event->rect(), palette().window());
    return;
  }
  for (const QRect& r : event->region()) painter.drawImage(r, frame_, r);
}

void ImageView::mousePressEvent(QMouseEvent* event) {
  if (onPress) onPress(event);
}

void ImageView::mouseMoveEvent(QMouseEvent* event) {
  if (onMove) onMove(event);
}

void ImageView::mouseReleaseEvent(QMouseEvent* event) {
  if (onRelease) onRelease(event);
}

void ImageView::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (onResize) onResize();
}

void ImageView::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (onResize) onResize();
}

}  // namespace vmx
