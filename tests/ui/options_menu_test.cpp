// The Options menu and the trigger buttons in a stand-in window with the
// pages they switch to: records, request word and the page shown.
#include <gtest/gtest.h>

#include <QActionGroup>
#include <QDateTime>
#include <QLineEdit>
#include <QMenu>
#include <QTest>

#include "astro/geo_page.h"
#include "editor/channels_page.h"
#include "editor/config_page.h"
#include "editor/expert_page.h"
#include "editor/options_menu.h"
#include "editor/schedule_grid.h"
#include "editor/schedule_page.h"
#include "link/request_flags.h"
#include "tests/ui/fake_page_context.h"

namespace vmx::testing {
namespace {

constexpr const char* kModes[] = {"mnuModeManual", "mnuModeAuto", "mnuModeGeo", "mnuModeRGBDemo",
                                  "mnuModeFlash"};

class OptionsMenuTest : public ::testing::Test {
 protected:
  OptionsMenuTest() {
    auto* modes = new QActionGroup(context.window.get());
    for (const char* name : kModes) {
      QAction* item = context.AddAction(name);
      item->setCheckable(true);
      modes->addAction(item);
    }
    for (const char* name : {"mnuStepBig", "mnuShowExpert"})
      context.AddAction(name)->setCheckable(true);
    for (const char* name : {"mnuRefresh", "mnuSaveEEPROM", "mnuIRLearn", "mnuLoadReef",
                             "mnuHealth", "mnuSetTimeDate"})
      context.AddAction(name);
    options = new QMenu(context.window.get());
    options->setObjectName("mnuOptions");
    SharedStore& s = context.store;
    s.info.RowCount = 3;
    s.schedule.assign(3, ScheduleRow{});
    s.ResizeRowTables(3);
    s.schedule[0].Hour = 7;
    s.schedule[0].Alt = 5000;

    context.Add<ChannelsPage>("tsChannels", 0);
    context.Add<ChannelsPage>("tsChannelsGL", 6);
    schedule = context.Add<SchedulePage>();
    context.Add<GeoPage>();
    context.Add<ConfigPage>();
    context.Add<ExpertPage>();
    new OptionsMenu(context, context.window.get());
    context.Show();
    context.ApplyRecord(RecordKind::Schedule);
    context.applied.clear();
  }

  QAction* Item(const char* name) { return context.Find<QAction>(name); }
  // A cell changed by hand: a refill puts the row's text back.
  void Scribble() { schedule->Grid()->item(0, 1)->setText("scribbled"); }
  QString FirstCell() { return schedule->Grid()->item(0, 1)->text(); }
  QString LastShown() { return context.shownPages.empty() ? QString() : context.shownPages.back(); }
  void OpenMenu() {
    options->popup(QPoint(0, 0));
    options->hide();
  }

  FakePageContext context;
  SchedulePage* schedule = nullptr;
  QMenu* options = nullptr;
};

TEST_F(OptionsMenuTest, AutoFromManualRefillsShowsTheScheduleAndAddsWriteConfig) {
  Scribble();
  context.store.SetRequests(request::WriteSchedule);
  const int enabling = context.enablingRuns;
  Item("mnuModeAuto")->trigger();
  EXPECT_EQ(context.store.config.Mode, 1);
  EXPECT_EQ(FirstCell(), "07:00");
  EXPECT_EQ(LastShown(), "tsSchedule");
  EXPECT_EQ(context.store.Requests(), request::WriteSchedule | request::WriteConfig);
  EXPECT_GT(context.enablingRuns, enabling) << "the mode's controls follow at once";

  // Geo: the first column turns into altitudes.
  Item("mnuModeGeo")->trigger();
  EXPECT_EQ(FirstCell(), "30");
  EXPECT_EQ(LastShown(), "tsGeo");
}

TEST_F(OptionsMenuTest, AModeChangeDuringADownloadLeavesTheGridAlone) {
  Scribble();
  context.store.SetRequests(request::ReadSchedule);
  Item("mnuModeGeo")->trigger();
  EXPECT_EQ(context.store.config.Mode, 2);
  EXPECT_EQ(FirstCell(), "scribbled");
  EXPECT_EQ(context.store.Requests(), request::ReadSchedule | request::WriteConfig);
}

TEST_F(OptionsMenuTest, TheModeAlreadySetWritesAgainWithoutARefill) {
  Scribble();
  Item("mnuModeManual")->trigger();
  EXPECT_EQ(FirstCell(), "scribbled");
  EXPECT_EQ(context.store.Requests(), request::WriteConfig);
}

TEST_F(OptionsMenuTest, DemoModesDropEveryOtherRequest) {
  context.store.SetRequests(request::WriteSchedule | request::ReadChart);
  Item("mnuModeRGBDemo")->trigger();
  EXPECT_EQ(context.store.config.Mode, 3);
  EXPECT_EQ(context.store.Requests(), request::WriteConfig);
  EXPECT_EQ(LastShown(), "tsChannelsGL");

  // Flash stays on the channel page that is up.
  context.store.SetRequests(request::WriteExpert);
  Item("mnuModeFlash")->trigger();
  EXPECT_EQ(context.store.Requests(), request::WriteConfig);
  EXPECT_EQ(context.active->objectName(), "tsChannelsGL");
  context.ShowPage(context.PageNamed("tsConfig"));
  Item("mnuModeManual")->trigger();
  EXPECT_EQ(context.active->objectName(), "tsChannels");
}

TEST_F(OptionsMenuTest, OpeningTheMenuTicksWhatTheRecordsSay) {
  context.store.config.Mode = 2;
  context.store.config.Flag = 0x09;
  context.expertPages = false;
  OpenMenu();
  EXPECT_TRUE(Item("mnuModeGeo")->isChecked());
  EXPECT_TRUE(Item("mnuStepBig")->isChecked());
  EXPECT_FALSE(Item("mnuShowExpert")->isChecked());
  context.store.config.Mode = 9;  // no such mode: the radio items stay
  context.store.config.Flag = 0;
  OpenMenu();
  EXPECT_TRUE(Item("mnuModeGeo")->isChecked());
  EXPECT_FALSE(Item("mnuStepBig")->isChecked());
}

TEST_F(OptionsMenuTest, BigStepInvertsTheRecordsBitNotAStaleTick) {
  context.store.config.Flag = 0x01;
  OpenMenu();
  ASSERT_TRUE(Item("mnuStepBig")->isChecked());
  // The board's Config turns big steps off; the menu was not opened since.
  context.store.config.Flag = 0x08;
  Item("mnuStepBig")->trigger();  // F4
  EXPECT_EQ(context.store.config.Flag, 0x09);
  EXPECT_TRUE(Item("mnuStepBig")->isChecked());
  EXPECT_EQ(context.store.Requests(), request::WriteConfig);
  Item("mnuStepBig")->trigger();
  EXPECT_EQ(context.store.config.Flag, 0x08);
  EXPECT_FALSE(Item("mnuStepBig")->isChecked());
}

TEST_F(OptionsMenuTest, OneShotActionsRaiseTheirBits) {
  Item("mnuRefresh")->trigger();
  EXPECT_EQ(context.store.Requests(), 0x2A9u);
  context.store.SetRequests(0);
  Item("mnuSaveEEPROM")->trigger();
  EXPECT_EQ(context.store.Requests(), 0x8000u);
  context.store.SetRequests(0);
  Item("mnuLoadReef")->trigger();
  EXPECT_EQ(context.store.Requests(), 0x2000u);
  EXPECT_EQ(LastShown(), "tsSchedule");
}

TEST_F(OptionsMenuTest, HealthShowsTheExpertPagesAndTheConfiguration) {
  context.expertPages = false;
  Item("mnuHealth")->trigger();
  EXPECT_TRUE(context.expertPages);
  EXPECT_EQ(LastShown(), "tsConfig");
  EXPECT_EQ(context.store.Requests(), request::ReadHealth);
}

TEST_F(OptionsMenuTest, ShowExpertTogglesThePages) {
  context.expertPages = false;
  Item("mnuShowExpert")->trigger();
  EXPECT_TRUE(context.expertPages);
  EXPECT_TRUE(Item("mnuShowExpert")->isChecked());
  EXPECT_EQ(LastShown(), "tsExpert");
  Item("mnuShowExpert")->trigger();
  EXPECT_FALSE(context.expertPages);
  EXPECT_FALSE(Item("mnuShowExpert")->isChecked());
  EXPECT_EQ(context.store.Requests(), 0u);
}

TEST_F(OptionsMenuTest, PairingAsksFirstAndTwoYesRestoreTheCodes) {
  context.store.expert.Up = 0x0123;
  context.store.expert.Step = 0x1FFF;
  context.dialogs.answers = {false, true, true};
  Item("mnuIRLearn")->trigger();
  EXPECT_EQ(context.store.expert.Up, 0x0123) << "No changes nothing";
  EXPECT_EQ(context.store.Requests(), 0u);
  ASSERT_EQ(context.dialogs.questions.size(), 1);
  EXPECT_EQ(context.dialogs.questions[0],
            "For this, an IR remote control capable of the RC-5\nstandard is needed (please refer "
            "to its manual and\nchoose an appropriate device code).\nWhile pairing Velmarinex2 "
            "will request (see the display) you\nto press various keys. Finally all settings will "
            "be\npermanently saved.\nYou can abort the sequence by repeatedly selecting\nthis "
            "menu entry.\n\nProceed?");

  Item("mnuIRLearn")->trigger();
  EXPECT_EQ(context.store.expert.Up, 0x1123);
  EXPECT_EQ(context.store.expert.Step, 0x0FFF);
  EXPECT_EQ(context.store.expert.Down, 0x1000);
  EXPECT_EQ(context.store.Requests(), request::WriteExpert);
  Item("mnuIRLearn")->trigger();
  EXPECT_EQ(context.store.expert.Up, 0x0123);
  EXPECT_EQ(context.store.expert.Step, 0x1FFF);
  EXPECT_EQ(context.store.expert.Down, 0);
}

TEST_F(OptionsMenuTest, SetTimeAndDateGoesToGeoAndSetsTheClockInRealTime) {
  context.store.config.TimeLapse = 40;
  // Both ends are taken, so that a run across midnight or a new year holds.
  const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
  Item("mnuSetTimeDate")->trigger();
  const QDateTime after = QDateTime::currentDateTime().addSecs(1);
  EXPECT_EQ(LastShown(), "tsGeo");
  const Info& i = context.store.info;
  const QDateTime set(QDate(2000 + i.Year, i.Month, i.Day), QTime(i.Hour, i.Minute, i.Second));
  EXPECT_LE(before, set);
  EXPECT_GE(after, set);
  EXPECT_EQ(context.store.config.TimeLapse, 1);
  EXPECT_EQ(context.Find<QLineEdit>("edtTimeLapse")->text(), "1");
  EXPECT_EQ(context.store.Requests(), request::WriteConfig | request::WriteInfoTime);
}

}  // namespace
}  // namespace vmx::testing
