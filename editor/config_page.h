// The Configuration page: time lapse, display backlight and fan levels, each
// a slider paired with an edit, and the board's status line `lblBoard`.
#pragma once

#include "ui/page.h"

class QGridLayout;

namespace vmx {

class ConfigPage final : public Page {
  Q_OBJECT

 public:
  explicit ConfigPage(PageContext& context);

  void Apply(RecordKind record) override;

 private:
  void AddPair(QGridLayout* grid, int row, const QString& stem, int tickInterval);
  void btnRealtimeClick();
};

}  // namespace vmx
