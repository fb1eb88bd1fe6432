#include "editor/options_menu.h"

#include <QAction>
#include <QMenu>

#include "astro/geo_page.h"
#include "editor/schedule_page.h"
#include "lang/catalogue.h"
#include "settings/device_actions.h"
#include "ui/dialogs.h"
#include "ui/names.h"
#include "ui/page_context.h"

namespace vmx {
namespace {

constexpr const char* kModeItems[] = {names::mnuModeManual, names::mnuModeAuto, names::mnuModeGeo,
                                      names::mnuModeRGBDemo, names::mnuModeFlash};
// The board name the pairing question speaks of.
constexpr const char* kBoardName = "Velmarinex2";

QString DialogText(const std::string& text) {
  return QString::fromStdString(text).replace("\r\n", "\n");
}

}  // namespace

OptionsMenu::OptionsMenu(PageContext& context, QObject* parent)
    : QObject(parent), context_(context) {
  if (auto* menu = qobject_cast<QMenu*>(context_.Control(names::mnuOptions)))
    connect(menu, &QMenu::aboutToShow, this, &OptionsMenu::mnuOptionsClick);
  for (uint8_t mode = 0; mode < std::size(kModeItems); ++mode)
    if (QAction* item = Item(kModeItems[mode]))
      connect(item, &QAction::triggered, this, [this, mode] { ModeClick(ModeOf(mode)); });
  const std::pair<const char*, void (OptionsMenu::*)()> items[] = {
      {names::mnuStepBig, &OptionsMenu::mnuStepBigClick},
      {names::mnuShowExpert, &OptionsMenu::mnuShowExpertClick},
      {names::mnuRefresh, &OptionsMenu::mnuRefreshClick},
      {names::mnuSaveEEPROM, &OptionsMenu::mnuSaveEEPROMClick},
      {names::mnuIRLearn, &OptionsMenu::mnuIRLearnClick},
      {names::mnuLoadReef, &OptionsMenu::mnuLoadReefClick},
      {names::mnuHealth, &OptionsMenu::mnuHealthClick},
      {names::mnuSetTimeDate, &OptionsMenu::mnuSetTimeDateClick}};
  for (const auto& [name, handler] : items)
    if (QAction* item = Item(name)) connect(item, &QAction::triggered, this, handler);
}

QAction* OptionsMenu::Item(const char* name) const {
  return qobject_cast<QAction*>(context_.Control(name));
}

void OptionsMenu::ShowPage(const char* name) {
  context_.ShowPage(context_.PageNamed(name));
}

void OptionsMenu::mnuOptionsClick() {
  const Config& config = context_.Store().config;
  if (config.Mode < std::size(kModeItems))
    if (QAction* item = Item(kModeItems[config.Mode])) item->setChecked(true);
  if (QAction* step = Item(names::mnuStepBig)) step->setChecked(config.Flag & config_flag::BigStep);
  if (QAction* expert = Item(names::mnuShowExpert)) expert->setChecked(context_.ExpertPagesVisible());
}

void OptionsMenu::SetMode(BoardMode mode) {
  if (!vmx::SetMode(context_.Store(), mode)) return;
  if (auto* schedule = qobject_cast<SchedulePage*>(context_.PageNamed(names::tsSchedule)))
    schedule->ModeChanged();
  context_.UpdateEnabling();
}

void OptionsMenu::ModeClick(BoardMode mode) {
  SetMode(mode);
  const bool channelsGL = context_.ActivePage() == context_.PageNamed(names::tsChannelsGL);
  switch (mode) {
    case BoardMode::Auto:
      ShowPage(names::tsSchedule);
      break;
    case BoardMode::Geo:
      ShowPage(names::tsGeo);
      break;
    case BoardMode::RgbDemo:
      ShowPage(names::tsChannelsGL);
      break;
    default:  // Manual, Flash: the channels, on whichever of the two pages is up
      if (!channelsGL) ShowPage(names::tsChannels);
      break;
  }
  RequestModeWrite(context_.Store(), mode);
}

void OptionsMenu::mnuStepBigClick() {
  // The tick may be stale (the board's Config changed since the menu was
  // open); the record says what the step size is.
  const bool big = ToggleBigStep(context_.Store());
  if (QAction* step = Item(names::mnuStepBig)) step->setChecked(big);
}

void OptionsMenu::mnuShowExpertClick() {
  const bool visible = !context_.ExpertPagesVisible();
  context_.SetExpertPagesVisible(visible);
  if (QAction* expert = Item(names::mnuShowExpert)) expert->setChecked(visible);
  if (visible) ShowPage(names::tsExpert);
}

void OptionsMenu::mnuRefreshClick() {
  Refresh(context_.Store());
}

void OptionsMenu::mnuSaveEEPROMClick() {
  SaveSettings(context_.Store());
}

void OptionsMenu::mnuIRLearnClick() {
  const bool yes = context_.Ask().AskYesNo(DialogText(LangText("IRLearnDlgCaption")),
                                           DialogText(LangFormat("IRLearnDlgText", {kBoardName})),
                                           Dialogs::Icon::Warning, false);
  if (yes) PairIrRemote(context_.Store());
}

void OptionsMenu::mnuLoadReefClick() {
  ShowPage(names::tsSchedule);
  LoadReefDefaults(context_.Store());
}

void OptionsMenu::mnuHealthClick() {
  context_.SetExpertPagesVisible(true);
  ShowPage(names::tsConfig);  // the health picture is on the Configuration page
  ReadHealth(context_.Store());
}

void OptionsMenu::mnuSetTimeDateClick() {
  ShowPage(names::tsGeo);
  if (auto* geo = qobject_cast<GeoPage*>(context_.PageNamed(names::tsGeo))) {
    geo->SetBoardClockNow();
    return;
  }
  SetCurrentTimeAndDate(context_.Store(), ComputerClock());
}

}  // namespace vmx
