#include "astro/geo_page.h"

namespace vmx {

GeoPage::GeoPage(TfrmLantix& form) : Page(form, "tsGeo") {}

}  // namespace vmx
