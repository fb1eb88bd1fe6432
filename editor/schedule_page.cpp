#include "editor/schedule_page.h"

#include <QMenu>

namespace vmx {

SchedulePage::SchedulePage(TfrmLantix& form) : Page(form, "tsSchedule"), pumCol_(new QMenu(this)) {
  pumCol_->setObjectName("pumCol");
  for (const char* name : {"mnuCopyCol", "mnuPasteCol", "mnuSwapCol"})
    pumCol_->addAction(QString())->setObjectName(name);
}

}  // namespace vmx
