#include "ui/picture_view.h"

#include <QMouseEvent>
#include <QPainter>

namespace vmx {

PictureView::PictureView(const QString& name, QWidget* parent) : QWidget(parent) {
  setObjectName(name);
  // The bitmap covers the whole widget: no background to erase first.
  setAttribute(Qt::WA_OpaquePaintEvent);
}

PictureView::PictureView(const QString& name, const QImage* image, Backdrop backdrop,
                         QWidget* parent)
    : QWidget(parent), image_(image), backdrop_(backdrop) {
  setObjectName(name);
  // Beyond the picture, when the view is larger, lies the window's background.
  setAttribute(Qt::WA_OpaquePaintEvent, backdrop_ == Backdrop::Black);
  setAutoFillBackground(backdrop_ == Backdrop::Window);
}

QImage& PictureView::Frame() {
  if (frame_.size() != size()) frame_ = QImage(size(), QImage::Format_ARGB32_Premultiplied);
  return frame_;
}

void PictureView::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  const QImage& shown = Picture();
  if (backdrop_ == Backdrop::Black) {
    painter.fillRect(event->rect(), Qt::black);
  } else if (shown.isNull()) {
    painter.fillRect(event->rect(), palette().window());
    return;
  }
  for (const QRect& r : event->region()) {
    const QRect part = r & shown.rect();
    if (!part.isEmpty()) painter.drawImage(part, shown, part);
  }
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

void PictureView::mouseDoubleClickEvent(QMouseEvent* event) {
  if (onPress) onPress(event);
  if (onDoubleClick) onDoubleClick();
}

void PictureView::enterEvent(QEnterEvent* event) {
  QWidget::enterEvent(event);
  if (onEnter) onEnter();
}

void PictureView::leaveEvent(QEvent* event) {
  QWidget::leaveEvent(event);
  if (onLeave) onLeave();
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
