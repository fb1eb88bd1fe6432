// Light planning in the real window against the simulated board on a pty:
// the year view opened from the Geo page, and the acclimation plan the window
// applies, checked on the wire.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include "app/acclimation_dialog.h"
#include "app/plan_keeper.h"
#include "astro/year_window.h"
#include "link/port_name.h"
#include "planning/plan_file.h"
#include "settings/device_actions.h"
#include "tests/app/window_fixture.h"
#include "tests/planning/berlin_board.h"
#include "tests/planning/plan_helpers.h"

namespace vmx::testing {
namespace {

class PlanningWindowTest : public WindowTest {
 protected:
  PlanningWindowTest() {
    // Plans live in the user's data folder: this test's own.
    setenv("XDG_DATA_HOME", data.path().toStdString().c_str(), 1);
    board.With(PlaceAtBerlin);
    target = Schedule();
  }
  void OpenConnected() {
    prefs.WritePort(pty);
    Open({"-english"});
    window->show();
    ASSERT_TRUE(WaitFullRead(pty));
  }
  std::vector<ScheduleRow> Schedule() {
    return board.With([](sim::BoardState& s) { return s.schedule; });
  }
  // What the PC wrote: SetSchedule rows and actions, by command and index.
  std::vector<std::string> Writes() const {
    std::vector<std::string> out;
    for (const auto& l : board.Lines())
      if (l.size() > 2 && (l.starts_with("03") || l.starts_with("7F"))) out.push_back(l.substr(0, 4));
    return out;
  }
  bool WaitSaved() {
    return QTest::qWaitFor([&] { return !Writes().empty() && Writes().back() == "7F01"; }, 5000);
  }
  AcclimationPlan Plan(int start, int days, long long first) const {
    return PlanOver(target, start, days, first);
  }
  const std::vector<std::string> kStep{"0300", "0301", "0302", "0303", "7F01"};

  QTemporaryDir data;
  std::vector<ScheduleRow> target;
};

TEST_F(PlanningWindowTest, YearButtonShowsTheYearAtTheBoardsPlace) {
  OpenConnected();
  window->ShowPage(window->PageNamed("tsGeo"));
  auto* button = window->findChild<QPushButton*>("btnYear");
  ASSERT_TRUE(button);
  EXPECT_EQ(button->text(), QString("Year…"));
  button->click();
  auto* year = window->findChild<YearWindow*>();
  ASSERT_TRUE(year);
  ASSERT_TRUE(year->Report());
  const YearReport& report = *year->Report();
  const int days = static_cast<int>(report.days.size());
  EXPECT_TRUE(days == 365 || days == 366);
  // The board's own zone: summer time in June, whole hours.
  const size_t june21 = static_cast<size_t>(DaysFromCivil(report.year, 6, 21) -
                                            DaysFromCivil(report.year, 1, 1));
  EXPECT_EQ(report.days[june21].zoneHours, 2);
  EXPECT_EQ(report.days[0].zoneHours, 1);
  EXPECT_TRUE(year->windowTitle().contains(QString("52.5")));
  EXPECT_TRUE(year->Warnings()->text().contains("swings by")) << year->Warnings()->text().toStdString();

  // The length of day where the chart says it lies, drawn in its colour.
  YearChartView* chart = year->Chart();
  QTest::qWait(50);
  chart->Render();
  const QImage& picture = chart->Picture();
  ASSERT_EQ(picture.size(), chart->size());
  std::array<uint32_t, kChannels> colors{};
  const YearChartScene scene =
      LayoutYearChart(report, chart->width(), chart->height(), colors, std::nullopt);
  const QColor curve = picture.pixelColor(qRound(scene.x[june21]), qRound(scene.curves.back().y[june21]));
  EXPECT_GT(curve.red(), 200);
  EXPECT_GT(curve.green(), 150);
  EXPECT_LT(curve.blue(), 100);
  EXPECT_EQ(picture.pixel(qRound(scene.x[june21]), 2), 0xFF000000u) << "above the plot: black";
}

TEST_F(PlanningWindowTest, WindowAppliesThePlanPausesOnAStrangersChangeAndKeepsItOverARestart) {
  OpenConnected();
  board.ClearLines();
  const long long first = TodayOnComputer() - 5;
  PlanSettings settings;
  settings.startPercent = 50;
  settings.days = 10;
  settings.firstDay = first;
  const PlanResult created = window->Plans().Start(settings);
  ASSERT_EQ(created.kind, PlanResult::Kind::Created) << created.problem;
  ASSERT_TRUE(WaitSaved());
  EXPECT_EQ(Writes(), kStep) << "one SetSchedule per row and one save";
  const int day = created.day;
  EXPECT_EQ(Schedule(), StepRows(Plan(50, 10, first), day));
  EXPECT_TRUE(WaitForLog(QString::fromStdString(StepLogLine(*created.plan, day))));

  window->ShowPage(window->PageNamed("tsVisualize"));
  auto* factor = window->findChild<QLabel*>("lblAcclimation");
  ASSERT_TRUE(factor);
  EXPECT_TRUE(factor->text().contains(day == 5 ? "75%" : "80%")) << factor->text().toStdString();

  // A restart: the new window finds today's step on the board and writes nothing.
  window.reset();
  board.ClearLines();
  OpenConnected();
  QTest::qWait(1500);
  EXPECT_TRUE(Writes().empty());
  EXPECT_EQ(window->Plans().Status().plan->saves, 1);

  // The board's keys change a level; the next read pauses the plan.
  board.With([](sim::BoardState& s) { s.schedule[2].Color16[3] = 17; });
  Action("mnuRefresh")->trigger();
  EXPECT_TRUE(WaitForLog("The schedule on the board was changed outside the acclimation plan. The plan is paused "
                         "and wrote nothing.", 8000));
  EXPECT_EQ(window->Plans().Status().kind, PlanResult::Kind::Paused);
  EXPECT_TRUE(Writes().empty()) << "a paused plan never overwrites the change";
  EXPECT_EQ(Schedule()[2].Color16[3], 17);

  const PlanResult cancelled = window->Plans().Cancel();
  ASSERT_EQ(cancelled.kind, PlanResult::Kind::Finished) << cancelled.problem;
  ASSERT_TRUE(WaitSaved());
  EXPECT_EQ(Writes(), kStep);
  EXPECT_EQ(Schedule(), target);
}

TEST_F(PlanningWindowTest, AcclimationDialogStartsAPlanOnTheBoard) {
  OpenConnected();
  board.ClearLines();
  Action("mnuAcclimation")->trigger();
  auto* dialog = window->findChild<AcclimationDialog*>("frmAcclimation");
  ASSERT_TRUE(dialog);
  auto* status = dialog->findChild<QLabel*>("lblAcclimationStatus");
  auto* start = dialog->findChild<QPushButton*>("btnAcclimationStart");
  auto* cancel = dialog->findChild<QPushButton*>("btnAcclimationCancel");
  EXPECT_EQ(status->text(), QString("This board has no acclimation plan."));
  EXPECT_TRUE(start->isEnabled());
  EXPECT_FALSE(cancel->isEnabled());
  dialog->findChild<QSpinBox*>("edtAcclimationStart")->setValue(40);
  dialog->findChild<QSpinBox*>("edtAcclimationDays")->setValue(14);
  auto* channels = dialog->findChild<QLineEdit*>("edtAcclimationChannels");
  // Letters past L make no plan: nothing goes to the board, the log says why.
  channels->setText("M-N");
  QTest::mouseClick(start, Qt::LeftButton);
  EXPECT_TRUE(WaitForLog("No plan: \"M-N\" names no channels. Channels are letters A-L, ranges "
                         "and commas (A-F, A,C,E-G)."));
  EXPECT_EQ(channels->text(), QString("A-L"));
  EXPECT_EQ(status->text(), QString("This board has no acclimation plan."));
  EXPECT_TRUE(Writes().empty());
  channels->setText("b-c");
  QTest::mouseClick(start, Qt::LeftButton);
  ASSERT_TRUE(WaitSaved());
  EXPECT_EQ(Writes(), kStep);
  AcclimationPlan plan = Plan(40, 14, TodayOnComputer());
  plan.channels = 0b110;
  const std::vector<ScheduleRow> held = Schedule();
  EXPECT_EQ(held, StepRows(plan, 0));
  EXPECT_EQ(held[1].Color16[0], target[1].Color16[0]) << "channel A is not in the plan";
  EXPECT_TRUE(status->text().startsWith("Running: day 0 of 14, 40% today on channels B-C"))
      << status->text().toStdString();
  EXPECT_TRUE(status->text().endsWith("1 EEPROM saves.")) << status->text().toStdString();
  EXPECT_FALSE(start->isEnabled());
  EXPECT_TRUE(cancel->isEnabled());
}

TEST_F(PlanningWindowTest, AnEditInTheWindowChangesTheTargetInsteadOfPausing) {
  OpenConnected();
  PlanSettings settings;
  settings.startPercent = 50;
  settings.days = 10;
  settings.firstDay = TodayOnComputer();
  ASSERT_EQ(window->Plans().Start(settings).kind, PlanResult::Kind::Created);
  ASSERT_TRUE(WaitSaved());
  board.ClearLines();
  // Row 1's channel B typed on the PC as 1000 while the plan is at half.
  SharedStore& store = window->Store();
  store.schedule[1].Color16[1] = 1000;
  store.MarkRows(1, 1, request::WriteSchedule);
  ASSERT_TRUE(QTest::qWaitFor([&] { return Writes() == std::vector<std::string>{"0301"}; }, 5000));
  QTest::qWait(100);
  const PlanLoad load = LoadPlan(window->Plans().root, BoardIdOfPort(pty));
  ASSERT_TRUE(load.plan);
  EXPECT_EQ(load.plan->target[1].Color16[1], 2000) << "1000 at half of the target";
  Action("mnuRefresh")->trigger();
  QTest::qWait(1500);
  EXPECT_EQ(window->Plans().Status().plan->state, AcclimationPlan::State::Running);
  EXPECT_EQ(Writes(), std::vector<std::string>{"0301"});
}

}  // namespace
}  // namespace vmx::testing
