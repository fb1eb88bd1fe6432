#include "editor/schedule_page.h"

#include <QMenu>

namespace vmx {

SchedulePage::SchedulePage(PageContext& context)
    : Page(context, "tsSchedule"), pumCol_(new QMenu(this)) {
  pumCol_->setObjectName("pumCol");
  for (const char* name : {"mnuCopyCol", "mnuPasteCol", "mnuSwapCol"})
    pumCol_->addAction(QString())->setObjectName(name);
}

}  // namespace vmx
