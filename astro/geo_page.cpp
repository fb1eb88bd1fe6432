#include "astro/geo_page.h"

namespace vmx {

GeoPage::GeoPage(PageContext& context) : Page(context, "tsGeo") {}

}  // namespace vmx
