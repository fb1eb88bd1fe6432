// The example circuit beside the JMP pin modes: a relay whose coil is fed from
// the supply and switched to ground by link-port pin 5, with its flyback diode.
#pragma once

#include <QWidget>

namespace vmx {

class JmpSchematic final : public QWidget {
  Q_OBJECT

 public:
  explicit JmpSchematic(QWidget* parent);
  QSize sizeHint() const override { return {220, 300}; }

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace vmx
