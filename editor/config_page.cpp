#include "editor/config_page.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "graphics/health_view.h"
#include "ui/controls.h"
#include "ui/quiet.h"

namespace vmx {

ConfigPage::ConfigPage(PageContext& context) : Page(context, "tsConfig") {
  Subscribe({PageUpdate::Config, PageUpdate::Expert, PageUpdate::Health});
  auto* layout = new QVBoxLayout(this);

  auto* lapse = new QGridLayout;
  AddPair(lapse, 0, "TimeLapse", 10);
  auto* realtime = new QPushButton(this);
  realtime->setObjectName("btnRealtime");
  lapse->addWidget(realtime, 0, 3);
  connect(realtime, &QPushButton::clicked, this, &ConfigPage::btnRealtimeClick);
  layout->addLayout(lapse);

  auto* backlight = new QGroupBox(this);
  backlight->setObjectName("gbxLCDBL");
  auto* backlightGrid = new QGridLayout(backlight);
  AddPair(backlightGrid, 0, "LCDBLMax", 51);
  AddPair(backlightGrid, 1, "LCDBLMin", 51);
  AddPair(backlightGrid, 2, "LCDBLNight", 51);
  layout->addWidget(backlight);

  auto* fan = new QGroupBox(this);
  fan->setObjectName("gbxFan");
  auto* fanGrid = new QGridLayout(fan);
  AddPair(fanGrid, 0, "FanHigh", 51);
  AddPair(fanGrid, 1, "FanLow", 51);
  AddPair(fanGrid, 2, "FanOff", 51);
  layout->addWidget(fan);

  QLabel* board = NewLabel(this, "lblBoard");
  board->setWordWrap(true);
  layout->addWidget(board);
  layout->addStretch(1);
  layout->addWidget(new HealthView(context, this));
}

void ConfigPage::AddPair(QGridLayout* grid, int row, const QString& stem, int tickInterval) {
  QWidget* parent = grid->parentWidget() ? grid->parentWidget() : this;
  const LabeledEdit edit = NewLabeledEdit(parent, "edt" + stem);
  QSlider* slider = NewSlider(parent, "trb" + stem, tickInterval);
  slider->setMinimumWidth(300);
  grid->addWidget(edit.label, row, 0);
  grid->addWidget(slider, row, 1);
  grid->addWidget(edit.edit, row, 2);
  Bindings().Bind(slider);
  Bindings().Bind(edit.edit);
}

void ConfigPage::btnRealtimeClick() {
  Context().Store().config.TimeLapse = 1;
  SetValueQuietly(findChild<QSlider*>("trbTimeLapse"), 1);
  SetTextQuietly(findChild<QLineEdit*>("edtTimeLapse"), "1");
  Context().Raise(request::WriteConfig);
}

void ConfigPage::Apply(PageUpdate record) {
  if (record == PageUpdate::Config && Context().WindowVisible())
    Bindings().Apply(RecordKind::Config);
  if (record == PageUpdate::Expert) Bindings().Apply(RecordKind::Expert);
  if (record == PageUpdate::Health) findChild<HealthView*>()->DrawHealth();
}

}  // namespace vmx
