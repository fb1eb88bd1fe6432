#include "editor/channel_rows.h"

#include <QGridLayout>

#include "lang/channel_text.h"
#include "ui/bind.h"
#include "ui/controls.h"
#include "ui/names.h"
#include "ui/tint.h"

namespace vmx {

ChannelRows AddChannelRows(QWidget* parent, QGridLayout* grid, int firstRow, const QString& stem,
                           int tickInterval, Binder& binder) {
  ChannelRows rows{};
  for (int n = 0; n < kChannels; ++n) {
    const QString index = QString::number(n);
    const LabeledEdit edit = NewLabeledEdit(parent, names::stem::edt + stem + index);
    QSlider* slider = NewSlider(parent, names::stem::trb + stem + index, tickInterval);
    slider->setMinimumWidth(300);
    for (QWidget* control : {static_cast<QWidget*>(edit.edit), static_cast<QWidget*>(slider)})
      control->setProperty("tag", n);
    edit.edit->setAutoFillBackground(true);
    grid->addWidget(edit.label, firstRow + n, 0);
    grid->addWidget(slider, firstRow + n, 1);
    grid->addWidget(edit.edit, firstRow + n, 2);
    binder.Bind(slider);
    binder.Bind(edit.edit);
    rows[static_cast<size_t>(n)] = {edit.label, slider, edit.edit};
  }
  return rows;
}

void ShowChannelColors(const ChannelRows& rows, const Config& config) {
  for (int n = 0; n < kChannels; ++n) {
    const int color = config.ColorName[static_cast<size_t>(n)];
    const ChannelRow& row = rows[static_cast<size_t>(n)];
    row.label->setText(QString::fromStdString(ChannelCaption(n, color)));
    Tint(row.edit, ChannelColor(color));
  }
}

}  // namespace vmx
