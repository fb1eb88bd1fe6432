#include "astro/image_view.h"

#include <QMouseEvent>
#include <QPainter>

namespace vmx {

ImageView::ImageView(const QImage* image, bool black, QWidget* parent)
    : QWidget(parent), image_(image), black_(black) {
  setMouseTracking(true);
  // Beyond the picture, when the view is larger, lies the window's background.
  setAttribute(Qt::WA_OpaquePaintEvent, black_);
  setAutoFillBackground(!black_);
}

void ImageView::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  if (black_) painter.fillRect(event->rect(), Qt::black);
  painter.drawImage(QPoint(0, 0), *image_);
}

void ImageView::mousePressEvent(QMouseEvent* event) {
  emit mouseDown(event->position().toPoint());
}

void ImageView::mouseMoveEvent(QMouseEvent* event) {
  emit mouseMove(event->position().toPoint());
}

void ImageView::mouseDoubleClickEvent(QMouseEvent* event) {
  // A double click is also the second press of the pair.
  emit mouseDown(event->position().toPoint());
  emit doubleClicked();
}

void ImageView::enterEvent(QEnterEvent* event) {
  QWidget::enterEvent(event);
  emit mouseEnter();
}

void ImageView::leaveEvent(QEvent* event) {
  QWidget::leaveEvent(event);
  emit mouseLeave();
}

}  // namespace vmx
