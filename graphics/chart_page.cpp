#include "graphics/chart_page.h"

#include <QAction>
#include <QMenu>

namespace vmx {

ChartPage::ChartPage(PageContext& context) : Page(context, "tsTemp"), pumChart_(new QMenu(this)) {
  pumChart_->setObjectName("pumChart");
  int mode = 0;
  for (const char* name :
       {"mnuCHMTempWater", "mnuCHMTempBoard", "mnuCHMVoltage", "mnuCHMTempSlave"}) {
    QAction* item = pumChart_->addAction(QString());
    item->setObjectName(name);
    connect(item, &QAction::triggered, this, [this, mode] { mnuCHMClick(mode); });
    ++mode;
  }
}

// The radio buttons follow, and the chart is read again in its new source.
void ChartPage::mnuCHMClick(int chartMode) {
  Context().Store().expert.ChartMode = static_cast<uint8_t>(chartMode);
  Context().ApplyRecord(PageUpdate::Expert);
  Context().Raise(request::WriteExpert | request::ReadChart);
}

}  // namespace vmx
