#include "editor/moon_page.h"

namespace vmx {

MoonPage::MoonPage(PageContext& context) : Page(context, "tsMoon") {}

}  // namespace vmx
