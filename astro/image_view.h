// A picture shown at 1:1 pixels from its top-left corner, reporting the mouse
// in picture coordinates. The Geo page's map and moon picture.
#pragma once

#include <QImage>
#include <QWidget>

namespace vmx {

class ImageView final : public QWidget {
  Q_OBJECT

 public:
  // `image` is owned by the caller and outlives the view; the view repaints
  // from it on update(). With `black`, pixels the picture leaves transparent
  // show black, as an opaque bitmap would.
  ImageView(const QImage* image, bool black, QWidget* parent);

 signals:
  void mouseDown(QPoint at);
  void mouseMove(QPoint at);
  void mouseEnter();
  void mouseLeave();
  void doubleClicked();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  const QImage* image_;
  bool black_;
};

}  // namespace vmx
