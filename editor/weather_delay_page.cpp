#include "editor/weather_delay_page.h"

namespace vmx {

WeatherDelayPage::WeatherDelayPage(PageContext& context) : Page(context, "tsWeatherDelay") {}

}  // namespace vmx
