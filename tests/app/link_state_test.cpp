// How the window follows the link: enabling, the Messages page, the page
// after connecting.
#include <gmock/gmock.h>

#include <QMenu>

#include "app/link_session.h"
#include "link/request_flags.h"
#include "tests/app/window_fixture.h"

namespace vmx::testing {
namespace {

class LinkStateTest : public WindowTest {};

TEST_F(LinkStateTest, ConnectingEnablesTheTableControls) {
  Open({pty});
  EXPECT_FALSE(Action("mnuRefresh")->isEnabled());
  EXPECT_FALSE(window->PageNamed("tsSchedule")->isEnabled());
  ASSERT_TRUE(WaitConnected(pty));
  emit window->findChild<QMenu*>("mnuFile")->aboutToShow();
  EXPECT_TRUE(Action("mnuFirmwareUpdate")->isEnabled()) << "a worker runs";
  EXPECT_TRUE(Action("mnuRefresh")->isEnabled());
  EXPECT_TRUE(Action("mnuModeGeo")->isEnabled());
  EXPECT_TRUE(window->PageNamed("tsSchedule")->isEnabled());
  EXPECT_TRUE(window->PageNamed("tsVisualize")->isEnabled());
  EXPECT_TRUE(window->ConnectedState());
}

class OtherFirmwareTest : public WindowTest {
 protected:
  OtherFirmwareTest() : WindowTest({.rows = 4, .version = 3}) {}
};

TEST_F(OtherFirmwareTest, AnotherVersionLeavesTheControlsDisabled) {
  Open({pty});
  ASSERT_TRUE(WaitForLog(QString::fromStdString(
      "Velmarinex 2.x.3 on " + pty +
      " detected (different firmware version). Please use the correct software version or "
      "update the firmware (see menu \"File\")!")));
  EXPECT_FALSE(Action("mnuRefresh")->isEnabled());
  EXPECT_FALSE(window->PageNamed("tsSchedule")->isEnabled());
  EXPECT_FALSE(window->ConnectedState());
  EXPECT_EQ(CurrentPage(), "tsMessages");
  emit window->findChild<QMenu*>("mnuFile")->aboutToShow();
  EXPECT_TRUE(Action("mnuFirmwareUpdate")->isEnabled()) << "the way to the right firmware";
}

TEST_F(LinkStateTest, MessagesPageComesForwardOnlyFromTheConnectedState) {
  Open({});
  window->SetLinkState(true);
  window->ShowPage(window->PageNamed("tsConfig"));
  window->SetLinkState(false);
  EXPECT_EQ(CurrentPage(), "tsMessages");
  window->ShowPage(window->PageNamed("tsConfig"));
  window->SetLinkState(false);
  EXPECT_EQ(CurrentPage(), "tsConfig") << "a repeated report leaves the page alone";
}

TEST_F(LinkStateTest, LostBoardBringsTheLogToTheFront) {
  board.With([](sim::BoardState& s) { s.config.Mode = 0; });
  Open({pty});
  ASSERT_TRUE(WaitFullRead(pty));
  ASSERT_EQ(CurrentPage(), "tsChannels");
  server.HangUp(std::chrono::milliseconds(-1));
  EXPECT_TRUE(QTest::qWaitFor([&] { return CurrentPage() == "tsMessages"; }, 5000));
  EXPECT_FALSE(Action("mnuRefresh")->isEnabled());
}

struct ModePage {
  uint8_t mode;
  const char* page;
};

void PrintTo(const ModePage& p, std::ostream* os) {
  *os << "mode " << int(p.mode) << " " << p.page;
}

class PageAfterConnectingTest : public WindowTest,
                                public ::testing::WithParamInterface<ModePage> {};

TEST_P(PageAfterConnectingTest, FollowsTheBoardsMode) {
  board.With([&](sim::BoardState& s) { s.config.Mode = GetParam().mode; });
  Open({pty});
  ASSERT_TRUE(WaitFullRead(pty));
  EXPECT_EQ(CurrentPage(), GetParam().page);
  EXPECT_TRUE(prefs.exists);
  EXPECT_EQ(prefs.port, pty);
}

INSTANTIATE_TEST_SUITE_P(Modes, PageAfterConnectingTest,
                         ::testing::Values(ModePage{0, "tsChannels"}, ModePage{1, "tsSchedule"},
                                           ModePage{2, "tsGeo"}, ModePage{4, "tsChannels"}),
                         [](const auto& info) { return "Mode" + std::to_string(info.param.mode); });

TEST_F(LinkStateTest, ChartPageAsksForTheChart) {
  Open({});
  window->Store().Clear(request::ReadChart);
  window->ShowPage(window->PageNamed("tsTemp"));
  EXPECT_TRUE(window->Store().Pending(request::ReadChart));
  window->Store().Clear(request::ReadChart);
  window->ShowPage(window->PageNamed("tsTemp"));
  EXPECT_FALSE(window->Store().Pending(request::ReadChart)) << "already the active page";
  window->findChild<QTabWidget*>("pc")->setCurrentIndex(0);
  window->findChild<QTabWidget*>("pc")->setCurrentIndex(6);  // as a click on the tab does
  EXPECT_TRUE(window->Store().Pending(request::ReadChart));
}

}  // namespace
}  // namespace vmx::testing
