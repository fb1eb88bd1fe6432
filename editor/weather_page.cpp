#include "editor/weather_page.h"

namespace vmx {

WeatherPage::WeatherPage(TfrmLantix& form) : Page(form, "tsWeather") {}

}  // namespace vmx
