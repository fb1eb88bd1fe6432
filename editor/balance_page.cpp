#include "editor/balance_page.h"

namespace vmx {

BalancePage::BalancePage(PageContext& context) : Page(context, "tsBalance") {}

}  // namespace vmx
