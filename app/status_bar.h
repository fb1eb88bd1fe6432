// The status bar `sb`: panel 0 the latest status message, panel 1 the board
// clock, panel 2 the mode and activity letters.
#pragma once

#include <QStatusBar>
#include <array>

class QLabel;

namespace vmx {

class StatusBar final : public QStatusBar {
  Q_OBJECT

 public:
  explicit StatusBar(QWidget* parent);

  void SetPanelText(int panel, const QString& text);
  QString PanelText(int panel) const;
  int PanelWidth(int panel) const;
  // Sizes for the screen: the fixed panels and the height times dots per inch / 96.
  void Scale(double factor);

 private:
  std::array<QLabel*, 3> panels_;
};

}  // namespace vmx
