#include "editor/weather_delay_page.h"

namespace vmx {

WeatherDelayPage::WeatherDelayPage(TfrmLantix& form) : Page(form, "tsWeatherDelay") {}

}  // namespace vmx
