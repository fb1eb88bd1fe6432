#include "app/page_control.h"

#include <QStackedWidget>

#include "app/messages_page.h"
#include "astro/geo_page.h"
#include "editor/balance_page.h"
#include "editor/channels_page.h"
#include "editor/config_page.h"
#include "editor/expert_page.h"
#include "editor/jmp_page.h"
#include "editor/moon_page.h"
#include "editor/schedule_page.h"
#include "editor/weather_delay_page.h"
#include "editor/weather_page.h"
#include "graphics/chart_page.h"
#include "graphics/visualize_page.h"
#include "ui/names.h"

namespace vmx {
namespace {

constexpr const char* kExpertPages[] = {names::tsExpert, names::tsBalance, names::tsJMP};

}  // namespace

PageControl::PageControl(PageContext& form, QWidget* parent) : QTabWidget(parent) {
  setObjectName(names::pc);
  setMinimumSize(767, 531);
  setUsesScrollButtons(true);
  for (Page* page : std::initializer_list<Page*>{
           new ChannelsPage(form, names::tsChannels, 0), new ChannelsPage(form, names::tsChannelsGL, 6),
           new SchedulePage(form), new VisualizePage(form), new GeoPage(form), new ConfigPage(form),
           new ChartPage(form), new WeatherPage(form), new WeatherDelayPage(form),
           new MoonPage(form), new ExpertPage(form), new BalancePage(form), new JmpPage(form),
           new MessagesPage(form)}) {
    pages_.push_back(page);
    addTab(page, QString());
  }
  // Shown for the first time without a size, the page stack would size itself
  // to the hint of every page, measuring the text of all fourteen; the tab
  // widget sets its real geometry anyway once it is shown.
  if (auto* stack = findChild<QStackedWidget*>(QString(), Qt::FindDirectChildrenOnly))
    stack->resize(minimumSize());
  connect(this, &QTabWidget::currentChanged, this, [this] {
    if (!quiet_ && onPageChange) onPageChange();
  });
}

QWidget* PageControl::PageNamed(const char* name) const {
  return findChild<QWidget*>(name);
}

void PageControl::Activate(QWidget* page) {
  quiet_ = true;
  setCurrentWidget(page);
  quiet_ = false;
}

void PageControl::ShowPage(QWidget* page) {
  if (!page || currentWidget() == page) return;
  Activate(page);
  if (onPageChange) onPageChange();
}

void PageControl::SetExpertPagesVisible(bool visible) {
  for (const char* name : kExpertPages) setTabVisible(indexOf(PageNamed(name)), visible);
}

bool PageControl::ExpertPagesVisible() const {
  return isTabVisible(indexOf(PageNamed(names::tsExpert)));
}

}  // namespace vmx
