#include "ui/page.h"

namespace vmx {

Page::Page(PageContext& context, const char* name) : context_(context), binder_(context, nullptr) {
  setObjectName(name);
}

void Page::Subscribe(std::initializer_list<RecordKind> records) {
  for (RecordKind record : records) subscribed_ |= Bit(record);
}

}  // namespace vmx
