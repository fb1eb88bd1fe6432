// A drawn picture the size of its widget. The owner renders into Frame() and
// calls Present(); presses, drags, releases and size changes go to the owner.
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
  PictureView(const QString& name, QWidget* parent);

  // The bitmap, made the size of the widget (32-bit ARGB, premultiplied).
  QImage& Frame();
  const QImage& Picture() const { return frame_; }
  // Shows the bitmap as it now is (where it changed).
  void Present() { update(); }
  void Present(const QRegion& changed) { update(changed); }

  std::function<void(QMouseEvent*)> onPress;
  std::function<void(QMouseEvent*)> onMove;
  std::function<void(QMouseEvent*)> onRelease;
  // The widget got a new size or was shown.
  std::function<void()> onResize;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  QImage frame_;
};

}  // namespace vmx
