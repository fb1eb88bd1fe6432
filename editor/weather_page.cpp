#include "editor/weather_page.h"

namespace vmx {

WeatherPage::WeatherPage(PageContext& context) : Page(context, "tsWeather") {}

}  // namespace vmx
