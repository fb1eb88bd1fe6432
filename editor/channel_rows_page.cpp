#include "editor/channel_rows_page.h"

#include <QGridLayout>

#include "ui/controls.h"

namespace vmx {

ChannelRowsPage::ChannelRowsPage(PageContext& context, const char* pageName,
                                 const char* textName, const char* prefix, int editWidth)
    : Page(context, pageName) {
  Subscribe({RecordKind::ExpertWeather});
  auto* grid = new QGridLayout(this);
  QLabel* text = NewLabel(this, textName);
  text->setWordWrap(true);
  grid->addWidget(text, 0, 0, 1, 3);
  rows_ = AddChannelRows(this, grid, 1, prefix, editWidth, Bindings());
  grid->setColumnStretch(1, 1);
  grid->setRowStretch(1 + kChannels, 1);
}

void ChannelRowsPage::Apply(RecordKind record) {
  if (record == RecordKind::ExpertWeather) Bindings().Apply(RecordKind::ExpertWeather);
}

void ChannelRowsPage::ChannelColorsChanged() {
  ShowChannelColors(rows_, Context().Store().config);
}

}  // namespace vmx
