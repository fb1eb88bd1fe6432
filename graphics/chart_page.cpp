#include "graphics/chart_page.h"

#include <QMenu>

namespace vmx {

ChartPage::ChartPage(TfrmLantix& form) : Page(form, "tsTemp"), pumChart_(new QMenu(this)) {
  pumChart_->setObjectName("pumChart");
  for (const char* name :
       {"mnuCHMTempWater", "mnuCHMTempBoard", "mnuCHMVoltage", "mnuCHMTempSlave"})
    pumChart_->addAction(QString())->setObjectName(name);
}

}  // namespace vmx
