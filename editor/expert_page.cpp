#include "editor/expert_page.h"

namespace vmx {

ExpertPage::ExpertPage(TfrmLantix& form) : Page(form, "tsExpert") {}

}  // namespace vmx
