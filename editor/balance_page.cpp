#include "editor/balance_page.h"

#include <QGridLayout>

#include "ui/controls.h"
#include "ui/names.h"
#include "ui/quiet.h"

namespace vmx {

BalancePage::BalancePage(PageContext& context) : Page(context, names::tsBalance) {
  Subscribe({RecordKind::ExpertWeather, RecordKind::Expert});
  auto* grid = new QGridLayout(this);
  QLabel* text = NewLabel(this, names::lblBalance);
  text->setWordWrap(true);
  grid->addWidget(text, 0, 0, 1, 3);
  rows_ = AddChannelRows(this, grid, 1, "Balance", 10, Bindings());

  int row = 1 + kChannels;
  const LabeledEdit sum = NewLabeledEdit(this, names::edtBalanceSum);
  sumEdit_ = sum.edit;
  sumSlider_ = NewSlider(this, names::trbBalanceSum, 10);
  grid->addWidget(sum.label, row, 0);
  grid->addWidget(sumSlider_, row, 1);
  grid->addWidget(sumEdit_, row++, 2);
  Bindings().Bind(sumSlider_);
  Bindings().Bind(sumEdit_);

  const LabeledEdit ramp = NewLabeledEdit(this, names::edtBalanceSumRamp);
  grid->addWidget(ramp.label, row, 0, 1, 2, Qt::AlignRight);
  grid->addWidget(ramp.edit, row++, 2);
  Bindings().Bind(ramp.edit);

  grid->setColumnStretch(1, 1);
  grid->setRowStretch(row, 1);
}

void BalancePage::ShowBalanceSum() {
  // The sum follows the board even under the user's hand: the board may be
  // ramping it day by day.
  const uint8_t sum = Context().Store().weather.BalanceSum;
  SetValueQuietly(sumSlider_, sum);
  SetTextQuietly(sumEdit_, QString::number(sum));
}

void BalancePage::Apply(RecordKind record) {
  if (record == RecordKind::ExpertWeather) {
    Bindings().Apply(RecordKind::ExpertWeather);
    ShowBalanceSum();
  } else if (record == RecordKind::Expert) {
    Bindings().Apply(RecordKind::Expert);
  }
}

void BalancePage::ChannelColorsChanged() {
  ShowChannelColors(rows_, Context().Store().config);
}

}  // namespace vmx
