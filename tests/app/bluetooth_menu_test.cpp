// "Install devices automatically" and "Uninstall devices automatically" in the
// window, against python-dbusmock's bluetoothd on a private bus: the board is
// found, paired and bound, its new port is noticed and tried; removal first
// lets go of the board.
#include <gmock/gmock.h>

#include <QFile>
#include <QMenu>

#include "tests/app/window_fixture.h"
#include "tests/bluetooth/fake_binder.h"
#include "tests/bluetooth/private_bluez.h"

namespace vmx::testing {
namespace {

using namespace std::chrono_literals;

constexpr const char* kBoard = "00:11:22:AA:BB:CC";
constexpr const char* kBoardPath = "/org/bluez/hci0/dev_00_11_22_AA_BB_CC";

class BluetoothMenuTest : public WindowTest {
 protected:
  void SetUp() override {
    if (!PrivateBluez::Available()) GTEST_SKIP() << "python3-dbusmock is not installed";
    bluez = std::make_unique<PrivateBluez>();
    ASSERT_TRUE(bluez->Ready());
    bluez->AddAdapter();
  }
  void Open(std::vector<std::string> args) {
    StartOptions o = Options(std::move(args));
    o.bluetoothBus = bluez->Address();
    o.rfcommBinder = [state = binder] { return std::make_unique<FakeBinder>(state); };
    o.discoverTiming = {.inquiry = inquiry, .retryWait = 20ms};
    window = std::make_unique<TfrmLantix>(std::move(o));
    EXPECT_TRUE(WaitForPages(*window));
  }
  void OpenConnectionMenu() { emit window->findChild<QMenu*>("mnuConnection")->aboutToShow(); }
  int Count(const QString& line) const { return static_cast<int>(Log().count(line)); }

  std::unique_ptr<PrivateBluez> bluez;
  std::shared_ptr<FakeBinderState> binder = std::make_shared<FakeBinderState>();
  std::chrono::milliseconds inquiry = 300ms;
};

TEST_F(BluetoothMenuTest, InstallPairsAndBindsTheBoardAndItsNewPortIsTried) {
  ASSERT_FALSE(bluez->AddBoard(kBoard).isEmpty());
  binder->records[kBoard] = 1;
  // The new binding shows up as a device node, as udev makes it.
  binder->bound = [dir = devices.path()](int id) {
    QFile(dir + "/rfcomm" + QString::number(id)).open(QIODevice::WriteOnly);
  };
  const std::string entry = pty + " (rfcomm 00:11:22:AA:BB:CC)";
  ports.devices = {{"/dev/ttyS9", "serial8250"}, {pty, "rfcomm 00:11:22:AA:BB:CC"}};
  Open({"-english"});

  Action("mnuDiscover")->trigger();
  EXPECT_EQ(CurrentPage(), "tsMessages");
  OpenConnectionMenu();
  EXPECT_FALSE(Action("mnuDiscover")->isEnabled()) << "one Bluetooth worker at a time";
  EXPECT_FALSE(Action("mnuRemove")->isEnabled());
  Action("mnuDiscover")->trigger();
  Action("mnuRemove")->trigger();

  ASSERT_TRUE(
      WaitForLog("Installation started. A new serial port should appear in a few seconds."));
  ASSERT_TRUE(WaitForLog(QString::fromStdString("New serial port detected: " + entry)));
  EXPECT_TRUE(WaitConnected(pty));
  ASSERT_TRUE(QTest::qWaitFor([&] { return !window->Discovery().Running(); }, 5000));
  EXPECT_EQ(Count("Scanning for devices..."), 1);
  EXPECT_EQ(Count("Listing installed devices..."), 0);
  EXPECT_TRUE(bluez->Property(kBoardPath, "Paired").toBool());
  OpenConnectionMenu();
  EXPECT_TRUE(Action("mnuDiscover")->isEnabled());
  EXPECT_TRUE(Action("mnuRemove")->isEnabled());
}

TEST_F(BluetoothMenuTest, UninstallWhileConnectedLetsGoForgetsAndRemovesTheBoard) {
  ASSERT_FALSE(bluez->AddBoard(kBoard).isEmpty());
  ASSERT_TRUE(bluez->MarkPaired(kBoardPath));
  binder->bindings = {{0, kBoard, 1}};
  prefs.WritePort(pty);
  Open({});
  ASSERT_TRUE(WaitConnected(pty));
  window->ShowPage(window->PageNamed("tsConfig"));

  Action("mnuRemove")->trigger();
  EXPECT_EQ(CurrentPage(), "tsMessages");
  EXPECT_FALSE(prefs.exists);
  EXPECT_EQ(window->Link().portName, "");
  ASSERT_TRUE(WaitForLog(QString::fromStdString("Disconnected from " + pty)));
  ASSERT_TRUE(WaitForLog("Uninstall successfull."));
  EXPECT_TRUE(Log().contains("00:11:22:AA:BB:CC, \"Velmarinex2\""));
  EXPECT_FALSE(bluez->Exists(kBoardPath));
  EXPECT_TRUE(binder->Bindings().empty());
  EXPECT_FALSE(window->Link().WorkerRunning());
}

TEST_F(BluetoothMenuTest, ClosingTheWindowEndsARunningSearch) {
  inquiry = 30s;
  Open({});
  Action("mnuDiscover")->trigger();
  ASSERT_TRUE(WaitForLog("Scanning for devices..."));
  const auto closing = std::chrono::steady_clock::now();
  window.reset();
  EXPECT_LT(std::chrono::steady_clock::now() - closing, 2s);
}

}  // namespace
}  // namespace vmx::testing
