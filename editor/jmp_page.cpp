#include "editor/jmp_page.h"

#include <QGridLayout>
#include <QPainter>
#include <QRadioButton>

#include "ui/choice_group.h"
#include "ui/controls.h"

namespace vmx {
namespace {

// The example beside the modes: a relay on an active-low output. Link port
// pin 5 pulls the relay coil to ground; a diode across the coil takes the
// switching spike, the coil's other end is on the supply.
class ExampleSchematic final : public QWidget {
 public:
  explicit ExampleSchematic(QWidget* parent) : QWidget(parent) {
    setObjectName("imgJMP");
    setFixedSize(160, 220);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(palette().color(QPalette::WindowText), 1.5));
    const int x = 60;
    p.drawText(QRect(x - 30, 4, 60, 16), Qt::AlignCenter, "+V");
    p.drawLine(x, 22, x, 60);
    p.drawRect(x - 12, 60, 24, 50);  // the relay coil
    p.drawLine(x + 12, 85, x + 44, 85);  // its contact, switched by the coil
    p.drawLine(x + 44, 85, x + 64, 70);
    p.drawLine(x + 64, 85, x + 84, 85);
    p.drawLine(x, 22, x + 30, 22);  // the diode across the coil
    p.drawLine(x + 30, 22, x + 30, 66);
    p.drawLine(x + 30, 104, x + 30, 110);
    p.drawPolygon(QPolygon({QPoint(x + 22, 90), QPoint(x + 38, 90), QPoint(x + 30, 74)}));
    p.drawLine(x + 22, 74, x + 38, 74);
    p.drawLine(x + 30, 90, x + 30, 110);
    p.drawLine(x, 110, x, 150);
    p.drawLine(x + 30, 110, x, 110);
    p.drawEllipse(QPoint(x, 156), 6, 6);  // link port pin 5
    p.drawText(QRect(x + 10, 148, 40, 16), Qt::AlignLeft | Qt::AlignVCenter, "5");
    p.drawLine(x, 162, x, 190);  // pulled to ground inside the board
    p.drawLine(x - 14, 190, x + 14, 190);
    p.drawLine(x - 9, 195, x + 9, 195);
    p.drawLine(x - 4, 200, x + 4, 200);
  }
};

}  // namespace

JmpPage::JmpPage(PageContext& context)
    : Page(context, "tsJMP"), mode_(new ChoiceGroup(context, RecordKind::Expert, "JMPMode", this)) {
  Subscribe({PageUpdate::Expert});
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

  radio("rbtJMPIRLearn", 0);
  QLabel* caution = NewLabel(this, "lblJMPWarning1");
  QFont bold = caution->font();
  bold.setBold(true);
  caution->setFont(bold);
  grid->addWidget(caution, row++, 0, 1, 4);
  QLabel* warning = NewLabel(this, "lblJMPWarning2");
  warning->setWordWrap(true);
  grid->addWidget(warning, row++, 0, 1, 4);
  radio("rbtJMPCloud", 1);
  radio("rbtJMPStorm", 2);
  radio("rbtJMPCooler", 3);
  temperatures("edtTempCoolLow", "edtTempCoolHigh");
  radio("rbtJMPHeater", 4);
  temperatures("edtTempHeatLow", "edtTempHeatHigh");
  radio("rbtJMPLightning", 5);
  radio("rbtJMPTimer", 6);
  radio("rbtJMPServo", 7);
  radio("rbtJMPPWM", 8);
  grid->addWidget(new ExampleSchematic(this), 0, 5, row, 1, Qt::AlignRight | Qt::AlignTop);
  grid->setColumnMinimumWidth(0, 24);
  grid->setColumnStretch(4, 1);
  grid->setRowStretch(row, 1);
}

void JmpPage::Apply(PageUpdate record) {
  if (record != PageUpdate::Expert) return;
  mode_->Show();
  Bindings().Apply(RecordKind::Expert);
}

}  // namespace vmx
