#include "editor/moon_page.h"

namespace vmx {

MoonPage::MoonPage(TfrmLantix& form) : Page(form, "tsMoon") {}

}  // namespace vmx
