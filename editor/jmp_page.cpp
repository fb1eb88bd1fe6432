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
    setFixedSize(150, 215);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QPen solid(palette().color(QPalette::WindowText), 1.5);
    p.setPen(solid);
    const int x = 85, diode = 125;  // the coil's and the diode's columns
    p.drawText(QRect(x - 30, 2, 60, 16), Qt::AlignCenter, "+V");
    p.drawLine(x, 20, x, 50);
    p.drawLine(x, 40, diode, 40);
    p.drawRect(x - 10, 50, 20, 60);  // the relay coil
    p.drawLine(x, 110, x, 150);
    p.drawLine(x, 120, diode, 120);
    // The diode across the coil, its cathode towards the supply.
    p.drawLine(diode, 40, diode, 74);
    p.drawLine(diode, 90, diode, 120);
    p.drawPolygon(QPolygon({QPoint(diode - 8, 90), QPoint(diode + 8, 90), QPoint(diode, 74)}));
    p.drawLine(diode - 8, 74, diode + 8, 74);
    // The contact the coil moves.
    p.drawEllipse(QPoint(12, 60), 3, 3);
    p.drawEllipse(QPoint(42, 60), 3, 3);
    p.drawLine(42, 60, 16, 48);
    p.setPen(QPen(solid.color(), 1, Qt::DashLine));
    p.drawLine(x - 10, 80, 29, 80);
    p.drawLine(29, 80, 29, 54);
    p.setPen(solid);
    // Link port pin 5, pulled to ground inside the board.
    p.drawEllipse(QPoint(x, 156), 6, 6);
    p.drawText(QRect(x + 10, 148, 30, 16), Qt::AlignLeft | Qt::AlignVCenter, "5");
    p.drawLine(x, 162, x, 172);
    p.drawLine(x, 172, x + 10, 186);
    p.drawLine(x, 190, x, 198);
    p.drawLine(x - 14, 198, x + 14, 198);
    p.drawLine(x - 9, 203, x + 9, 203);
    p.drawLine(x - 4, 208, x + 4, 208);
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
