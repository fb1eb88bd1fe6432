// Standby and wake-up as logind announces them, on a private bus.
#include <gmock/gmock.h>

#include "app/link_session.h"
#include "tests/app/private_bus.h"
#include "tests/app/window_fixture.h"

namespace vmx::testing {
namespace {

class SleepTest : public WindowTest {
 protected:
  void SetUp() override {
    if (!PrivateLogind::Available()) GTEST_SKIP() << "python3-dbusmock is not installed";
    logind = std::make_unique<PrivateLogind>();
    ASSERT_TRUE(logind->Ready());
  }
  void Open(std::vector<std::string> args) {
    StartOptions o = Options(std::move(args));
    o.sleepBus = logind->Address();
    window = std::make_unique<TfrmLantix>(std::move(o));
    EXPECT_TRUE(WaitForPages(*window));
  }
  int Count(const std::string& line) const {
    return static_cast<int>(Log().count(QString::fromStdString(line)));
  }

  std::unique_ptr<PrivateLogind> logind;
};

TEST_F(SleepTest, SuspendDisconnectsAndTwoResumeNoticesReconnectOnce) {
  Open({pty});
  ASSERT_TRUE(WaitConnected(pty));
  ASSERT_TRUE(logind->PrepareForSleep(true));
  ASSERT_TRUE(WaitForLog("System is  standby"));
  ASSERT_TRUE(WaitForLog(QString::fromStdString("Disconnected from " + pty)));
  EXPECT_TRUE(QTest::qWaitFor([&] { return !window->Link().WorkerRunning(); }, 2000));
  EXPECT_EQ(window->Link().portName, pty) << "kept for the wake-up";

  ASSERT_TRUE(logind->PrepareForSleep(false));
  ASSERT_TRUE(logind->PrepareForSleep(false));
  ASSERT_TRUE(QTest::qWaitFor([&] { return Count("System is awaking from standby") == 2; }, 5000));
  EXPECT_TRUE(WaitConnected(pty, 5000));
  QTest::qWait(100);
  EXPECT_EQ(Count("Connecting to " + pty + "..."), 2) << "one start, one reconnect";
}

TEST_F(SleepTest, DebugShowsTheNoticeCodes) {
  Open({"-debug"});
  ASSERT_TRUE(logind->PrepareForSleep(true));
  EXPECT_TRUE(WaitForLog("WMPowerBroadcast 4"));
  ASSERT_TRUE(logind->PrepareForSleep(false));
  EXPECT_TRUE(WaitForLog("WMPowerBroadcast 18"));
  EXPECT_EQ(window->Link().Worker(), nullptr) << "no port known: nothing to reconnect";
}

}  // namespace
}  // namespace vmx::testing
