#include "editor/weather_delay_page.h"

#include <QGridLayout>

#include "ui/controls.h"

namespace vmx {

WeatherDelayPage::WeatherDelayPage(PageContext& context) : Page(context, "tsWeatherDelay") {
  Subscribe({PageUpdate::ExpertWeather});
  auto* grid = new QGridLayout(this);
  QLabel* text = NewLabel(this, "lblWeatherDelay");
  text->setWordWrap(true);
  grid->addWidget(text, 0, 0, 1, 3);
  rows_ = AddChannelRows(this, grid, 1, "WeatherDelay", 10, Bindings());
  grid->setColumnStretch(1, 1);
  grid->setRowStretch(1 + kChannels, 1);
}

void WeatherDelayPage::Apply(PageUpdate record) {
  if (record == PageUpdate::ExpertWeather) Bindings().Apply(RecordKind::ExpertWeather);
}

void WeatherDelayPage::ChannelColorsChanged() {
  ShowChannelColors(rows_, Context().Store().config);
}

}  // namespace vmx
