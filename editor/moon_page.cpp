#include "editor/moon_page.h"

#include <QGridLayout>

#include "ui/controls.h"

namespace vmx {

MoonPage::MoonPage(PageContext& context) : Page(context, "tsMoon") {
  Subscribe({PageUpdate::ExpertWeather});
  auto* grid = new QGridLayout(this);
  QLabel* text = NewLabel(this, "lblMoon");
  text->setWordWrap(true);
  grid->addWidget(text, 0, 0, 1, 3);
  rows_ = AddChannelRows(this, grid, 1, "Moon", 41, Bindings());
  grid->setColumnStretch(1, 1);
  grid->setRowStretch(1 + kChannels, 1);
}

void MoonPage::Apply(PageUpdate record) {
  if (record == PageUpdate::ExpertWeather) Bindings().Apply(RecordKind::ExpertWeather);
}

void MoonPage::ChannelColorsChanged() {
  ShowChannelColors(rows_, Context().Store().config);
}

}  // namespace vmx
