#include "app/status_bar.h"
#include "ui/names.h"

#include <QLabel>
#include <cmath>

namespace vmx {
namespace {

// Panel 0 stretches over whatever the two fixed panels leave.
constexpr int kPanelWidths[] = {462, 160, 100};
constexpr int kHeight = 19;

int Scaled(int pixels, double factor) {
  return static_cast<int>(std::lround(pixels * factor));
}

}  // namespace

StatusBar::StatusBar(QWidget* parent) : QStatusBar(parent) {
  setObjectName(names::sb);
  setSizeGripEnabled(false);
  for (int i = 0; i < 3; ++i) {
    panels_[i] = new QLabel(this);
    panels_[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    if (i == 0) {
      // A long message must not widen the window.
      panels_[i]->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
      panels_[i]->setMinimumWidth(1);
      panels_[i]->resize(kPanelWidths[i], kHeight);
    } else {
      panels_[i]->setAlignment(Qt::AlignCenter);
    }
    addWidget(panels_[i], i == 0 ? 1 : 0);
  }
  Scale(1.0);
}

void StatusBar::SetPanelText(int panel, const QString& text) {
  panels_.at(panel)->setText(text);
}

QString StatusBar::PanelText(int panel) const {
  return panels_.at(panel)->text();
}

int StatusBar::PanelWidth(int panel) const {
  return panels_.at(panel)->width();
}

void StatusBar::Scale(double factor) {
  setFixedHeight(Scaled(kHeight, factor));
  for (int i = 1; i < 3; ++i) panels_[i]->setFixedWidth(Scaled(kPanelWidths[i], factor));
}

}  // namespace vmx
