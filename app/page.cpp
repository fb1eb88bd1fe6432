#include "app/page.h"

namespace vmx {

Page::Page(TfrmLantix& form, const char* name) : form_(form) {
  setObjectName(name);
}

}  // namespace vmx
