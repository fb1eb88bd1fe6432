#include "app/page_control.h"

#include <QStackedWidget>
#include <algorithm>
#include <string_view>

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
  PageContext* context = &form;
  slots_ = {
      {names::tsChannels, [context] { return new ChannelsPage(*context, names::tsChannels, 0); }},
      {names::tsChannelsGL,
       [context] { return new ChannelsPage(*context, names::tsChannelsGL, 6); }},
      {names::tsSchedule, [context] { return new SchedulePage(*context); }},
      {names::tsVisualize, [context] { return new VisualizePage(*context); }},
      {names::tsGeo, [context] { return new GeoPage(*context); }},
      {names::tsConfig, [context] { return new ConfigPage(*context); }},
      {names::tsTemp, [context] { return new ChartPage(*context); }},
      {names::tsWeather, [context] { return new WeatherPage(*context); }},
      {names::tsWeatherDelay, [context] { return new WeatherDelayPage(*context); }},
      {names::tsMoon, [context] { return new MoonPage(*context); }},
      {names::tsExpert, [context] { return new ExpertPage(*context); }},
      {names::tsBalance, [context] { return new BalancePage(*context); }},
      {names::tsJMP, [context] { return new JmpPage(*context); }},
      {names::tsMessages, [context] { return new MessagesPage(*context); }},
  };
  for (Slot& slot : slots_) {
    // The Messages page is in front at start-up; the others wait as empty
    // tabs of their name, which the language texts caption like the pages.
    if (std::string_view(slot.name) == names::tsMessages) {
      slot.page = slot.make();
      addTab(slot.page, QString());
    } else {
      auto* standIn = new QWidget;
      standIn->setObjectName(slot.name);
      addTab(standIn, QString());
    }
  }
  // Shown for the first time without a size, the page stack would size itself
  // to the hint of every page, measuring the text of all fourteen; the tab
  // widget sets its real geometry anyway once it is shown.
  if (auto* stack = findChild<QStackedWidget*>(QString(), Qt::FindDirectChildrenOnly))
    stack->resize(minimumSize());
  connect(this, &QTabWidget::currentChanged, this, [this](int index) {
    if (quiet_) return;
    // The user chose a tab whose page is not built yet.
    if (index >= 0 && !slots_[static_cast<size_t>(index)].page) Build(index);
    if (onPageChange) onPageChange();
  });
}

std::vector<Page*> PageControl::Pages() const {
  std::vector<Page*> pages;
  for (const Slot& slot : slots_)
    if (slot.page) pages.push_back(slot.page);
  return pages;
}

bool PageControl::AllBuilt() const {
  return std::all_of(slots_.begin(), slots_.end(), [](const Slot& s) { return s.page; });
}

void PageControl::BuildAll() {
  for (int i = 0; i < static_cast<int>(slots_.size()); ++i) Build(i);
}

int PageControl::IndexOf(const char* name) const {
  for (size_t i = 0; i < slots_.size(); ++i)
    if (std::string_view(slots_[i].name) == name) return static_cast<int>(i);
  return -1;
}

Page* PageControl::Build(int index) {
  Slot& slot = slots_[static_cast<size_t>(index)];
  if (slot.page) return slot.page;
  QWidget* standIn = widget(index);
  slot.page = slot.make();
  // The page takes the stand-in's place with its caption, its visibility and,
  // when it was in front, the front.
  const bool current = currentIndex() == index;
  const QString caption = tabText(index);
  const bool visible = isTabVisible(index);
  quiet_ = true;
  removeTab(index);
  insertTab(index, slot.page, caption);
  setTabVisible(index, visible);
  if (current) setCurrentIndex(index);
  quiet_ = false;
  standIn->setObjectName(QString());
  standIn->deleteLater();
  if (onPageBuilt) onPageBuilt(*slot.page);
  return slot.page;
}

Page* PageControl::PageNamed(const char* name) {
  const int index = IndexOf(name);
  return index < 0 ? nullptr : Build(index);
}

Page* PageControl::BuiltPage(const char* name) const {
  const int index = IndexOf(name);
  return index < 0 ? nullptr : slots_[static_cast<size_t>(index)].page;
}

bool PageControl::IsActive(const char* name) const {
  const QWidget* page = currentWidget();
  return page && page->objectName() == QLatin1String(name);
}

void PageControl::ActivateTab(const char* name) {
  quiet_ = true;
  setCurrentIndex(IndexOf(name));
  quiet_ = false;
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
  for (const char* name : kExpertPages) setTabVisible(IndexOf(name), visible);
}

bool PageControl::ExpertPagesVisible() const {
  return isTabVisible(IndexOf(names::tsExpert));
}

}  // namespace vmx
