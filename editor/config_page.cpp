#include "editor/config_page.h"

namespace vmx {

ConfigPage::ConfigPage(TfrmLantix& form) : Page(form, "tsConfig") {}

}  // namespace vmx
