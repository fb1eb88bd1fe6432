// The Configuration page: time lapse, display backlight and fan levels, each
// a slider paired with an edit, and the board's status line `lblBoard`.
#pragma once

#include "ui/page.h"

class QGridLayout;

class QCheckBox;
class QLineEdit;
class QSlider;

namespace vmx {

class ConfigPage final : public Page {
  Q_OBJECT

 public:
  explicit ConfigPage(PageContext& context);

  void Apply(RecordKind record) override;

  // Back to real time (the Realtime button): time lapse 1, written to the board.
  void EndTimeLapse();
  // Shows the time lapse the Config record holds.
  void ShowTimeLapse();

  // The controls of the program's own alerts, which the window looks after.
  struct AlertControls {
    QCheckBox* enabled;
    QCheckBox* waterRange;
    QLineEdit* waterLow;
    QLineEdit* waterHigh;
  };
  AlertControls Alerts() const { return alerts_; }

 private:
  void AddPair(QGridLayout* grid, int row, const QString& stem, int tickInterval);

  AlertControls alerts_{};
  QSlider* trbTimeLapse_ = nullptr;
  QLineEdit* edtTimeLapse_ = nullptr;
};

}  // namespace vmx
