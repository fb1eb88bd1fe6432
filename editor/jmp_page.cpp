#include "editor/jmp_page.h"

namespace vmx {

JmpPage::JmpPage(TfrmLantix& form) : Page(form, "tsJMP") {}

}  // namespace vmx
