#include "editor/jmp_page.h"

#include <QGridLayout>
#include <QRadioButton>

#include "editor/jmp_schematic.h"
#include "ui/choice_group.h"
#include "ui/controls.h"
#include "ui/names.h"

namespace vmx {
JmpPage::JmpPage(PageContext& context)
    : Page(context, names::tsJMP), mode_(new ChoiceGroup(context, RecordKind::Expert, "JMPMode", this)) {
  Subscribe({RecordKind::Expert});
  auto* grid = new QGridLayout(this);
  int row = 0;
  auto radio = [&](const char* name, int value) {
    auto* button = new QRadioButton(this);
    button->setObjectName(name);
    grid->addWidget(button, row++, 0, 1, 4);
    mode_->Add(button, value);
  };
  // The switching temperatures stand beside the mode they belong to.
  auto temperatures = [&](const char* low, const char* high) {
    const LabeledEdit first = NewLabeledEdit(this, low);
    QLineEdit* second = NewEdit(this, high);
    grid->addWidget(first.label, row, 1);
    grid->addWidget(first.edit, row, 2);
    grid->addWidget(second, row++, 3);
    Bindings().Bind(first.edit);
    Bindings().Bind(second);
  };

  radio(names::rbtJMPIRLearn, 0);
  QLabel* caution = NewLabel(this, names::lblJMPWarning1);
  QFont bold = caution->font();
  bold.setBold(true);
  caution->setFont(bold);
  grid->addWidget(caution, row++, 0, 1, 4);
  QLabel* warning = NewLabel(this, names::lblJMPWarning2);
  warning->setWordWrap(true);
  grid->addWidget(warning, row++, 0, 1, 4);
  radio(names::rbtJMPCloud, 1);
  radio(names::rbtJMPStorm, 2);
  radio(names::rbtJMPCooler, 3);
  temperatures(names::edtTempCoolLow, names::edtTempCoolHigh);
  radio(names::rbtJMPHeater, 4);
  temperatures(names::edtTempHeatLow, names::edtTempHeatHigh);
  radio(names::rbtJMPLightning, 5);
  radio(names::rbtJMPTimer, 6);
  radio(names::rbtJMPServo, 7);
  radio(names::rbtJMPPWM, 8);
  grid->setColumnMinimumWidth(0, 24);
  grid->setColumnStretch(4, 1);
  grid->addWidget(new JmpSchematic(this), 0, 5, row, 1, Qt::AlignTop | Qt::AlignRight);
  grid->setRowStretch(row, 1);
}

void JmpPage::Apply(RecordKind record) {
  if (record != RecordKind::Expert) return;
  mode_->Show();
  Bindings().Apply(RecordKind::Expert);
}

}  // namespace vmx
