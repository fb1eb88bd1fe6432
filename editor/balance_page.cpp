#include "editor/balance_page.h"

namespace vmx {

BalancePage::BalancePage(TfrmLantix& form) : Page(form, "tsBalance") {}

}  // namespace vmx
