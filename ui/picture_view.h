// A drawn picture, shown at 1:1 pixels from its top-left corner. Either the
// view owns the bitmap (the size of the widget: the owner renders into Frame()
// and calls Present()) or it shows a picture its owner keeps. Presses, drags,
// releases, double clicks, the mouse coming and going and size changes go to
// the owner.
#pragma once

#include <QImage>
#include <QRegion>
#include <QWidget>
#include <functional>

class QMouseEvent;

namespace vmx {

class PictureView : public QWidget {
  Q_OBJECT

 public:
  // What shows where the picture leaves the widget uncovered or transparent.
  enum class Backdrop { Window, Black };

  // The view owns its bitmap.
  PictureView(const QString& name, QWidget* parent);
  // The view shows `image`, which the caller owns and which outlives the view;
  // the view repaints from it on Present(). With Backdrop::Black, pixels the
  // picture leaves transparent show black, as an opaque bitmap would.
  PictureView(const QString& name, const QImage* image, Backdrop backdrop, QWidget* parent);

  // The view's own bitmap, made the size of the widget (32-bit ARGB, premultiplied).
  QImage& Frame();
  const QImage& Picture() const { return image_ ? *image_ : frame_; }
  // Shows the picture as it now is (where it changed).
  void Present() { update(); }
  void Present(const QRegion& changed) { update(changed); }

  // A double click also reaches onPress: it is the second press of the pair.
  std::function<void(QMouseEvent*)> onPress;
  std::function<void(QMouseEvent*)> onMove;
  std::function<void(QMouseEvent*)> onRelease;
  std::function<void()> onDoubleClick;
  std::function<void()> onEnter;
  std::function<void()> onLeave;
  // The widget got a new size or was shown.
  std::function<void()> onResize;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  QImage frame_;
  const QImage* image_ = nullptr;
  Backdrop backdrop_ = Backdrop::Window;
};

}  // namespace vmx
