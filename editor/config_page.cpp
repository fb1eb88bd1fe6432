#include "editor/config_page.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QVBoxLayout>
#include <array>

#include "graphics/health_view.h"
#include "ui/controls.h"
#include "ui/names.h"
#include "ui/quiet.h"

namespace vmx {

ConfigPage::ConfigPage(PageContext& context) : Page(context, names::tsConfig) {
  Subscribe({RecordKind::Config, RecordKind::Expert, RecordKind::Health});
  auto* layout = new QVBoxLayout(this);

  auto* lapse = new QGridLayout;
  AddPair(lapse, 0, "TimeLapse", 10);
  auto* realtime = new QPushButton(this);
  realtime->setObjectName(names::btnRealtime);
  lapse->addWidget(realtime, 0, 3);
  connect(realtime, &QPushButton::clicked, this, &ConfigPage::EndTimeLapse);
  trbTimeLapse_ = findChild<QSlider*>(names::trbTimeLapse);
  edtTimeLapse_ = findChild<QLineEdit*>(names::edtTimeLapse);
  layout->addLayout(lapse);

  // Three levels each, highest first: the order the sliders keep.
  const std::pair<const char*, std::array<const char*, 3>> groups[] = {
      {names::gbxLCDBL, {"LCDBLMax", "LCDBLMin", "LCDBLNight"}},
      {names::gbxFan, {"FanHigh", "FanLow", "FanOff"}}};
  for (const auto& [name, stems] : groups) {
    auto* group = new QGroupBox(this);
    group->setObjectName(name);
    auto* grid = new QGridLayout(group);
    for (int row = 0; row < 3; ++row) AddPair(grid, row, stems[static_cast<size_t>(row)], 51);
    layout->addWidget(group);
  }

  // The program's own alerts; the window keeps these settings, not the board.
  auto* alerts = new QGroupBox(this);
  alerts->setObjectName(names::gbxAlerts);
  auto* alertGrid = new QGridLayout(alerts);
  auto* enabled = new QCheckBox(alerts);
  enabled->setObjectName(names::cbxAlerts);
  auto* water = new QCheckBox(alerts);
  water->setObjectName(names::cbxAlertWater);
  const LabeledEdit low = NewLabeledEdit(alerts, names::edtAlertWaterLow);
  low.label->setMinimumWidth(220);
  alertGrid->addWidget(enabled, 0, 0, 1, 4);
  alertGrid->addWidget(water, 1, 0, 1, 4);
  alertGrid->addWidget(low.label, 2, 0);
  alertGrid->addWidget(low.edit, 2, 1);
  QLineEdit* high = NewEdit(alerts, names::edtAlertWaterHigh);
  alertGrid->addWidget(high, 2, 2);
  alerts_ = {enabled, water, low.edit, high};
  alertGrid->setColumnStretch(3, 1);
  layout->addWidget(alerts);

  QLabel* board = NewLabel(this, names::lblBoard);
  board->setWordWrap(true);
  layout->addWidget(board);
  layout->addStretch(1);
  layout->addWidget(new HealthView(context, this));
}

void ConfigPage::AddPair(QGridLayout* grid, int row, const QString& stem, int tickInterval) {
  QWidget* parent = grid->parentWidget() ? grid->parentWidget() : this;
  const LabeledEdit edit = NewLabeledEdit(parent, names::stem::edt + stem);
  QSlider* slider = NewSlider(parent, names::stem::trb + stem, tickInterval);
  slider->setMinimumWidth(300);
  edit.label->setMinimumWidth(220);  // the sliders of both groups line up
  grid->addWidget(edit.label, row, 0);
  grid->addWidget(slider, row, 1);
  grid->addWidget(edit.edit, row, 2);
  Bindings().Bind(slider);
  Bindings().Bind(edit.edit);
}

void ConfigPage::EndTimeLapse() {
  Context().Store().config.TimeLapse = 1;
  SetValueQuietly(trbTimeLapse_, 1);
  SetTextQuietly(edtTimeLapse_, "1");
  Context().Raise(request::WriteConfig);
}

void ConfigPage::ShowTimeLapse() {
  const int lapse = Context().Store().config.TimeLapse;
  if (!trbTimeLapse_->hasFocus()) SetValueQuietly(trbTimeLapse_, lapse);
  if (!edtTimeLapse_->hasFocus()) SetTextQuietly(edtTimeLapse_, QString::number(lapse));
}

void ConfigPage::Apply(RecordKind record) {
  if (record == RecordKind::Config && Context().WindowVisible())
    Bindings().Apply(RecordKind::Config);
  if (record == RecordKind::Expert) Bindings().Apply(RecordKind::Expert);
  if (record == RecordKind::Health) findChild<HealthView*>()->DrawHealth();
}

}  // namespace vmx
