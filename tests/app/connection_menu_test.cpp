// Connection management through the window: the menu, its tick, switching
// ports, disconnecting, reconnecting and newly arrived devices.
#include <gmock/gmock.h>

#include <QFile>
#include <QMenu>

#include "app/link_session.h"
#include "tests/app/window_fixture.h"

namespace vmx::testing {
namespace {

class ConnectionMenuTest : public WindowTest {
 protected:
  // Opens the Connection menu as a click on it does and returns the port items.
  QList<QAction*> OpenMenu() {
    emit window->findChild<QMenu*>("mnuConnection")->aboutToShow();
    return window->findChild<QMenu*>("mnuConnect")->actions();
  }
  QString Entry() const { return QString::fromStdString(pty + " (simulated board)"); }
  int Count(const QString& line) const { return static_cast<int>(Log().count(line)); }
};

TEST_F(ConnectionMenuTest, MenuListsThePortsAndTicksTheLinkedOne) {
  ports.devices = {{"/dev/ttyS9", "serial8250"}, {pty, "simulated board"}};
  Open();
  QList<QAction*> items = OpenMenu();
  ASSERT_EQ(items.size(), 2);
  EXPECT_EQ(items[0]->text(), "/dev/ttyS9 (serial8250)");
  EXPECT_EQ(items[1]->text(), Entry());
  EXPECT_FALSE(items[0]->isChecked() || items[1]->isChecked());
  EXPECT_FALSE(Action("mnuDisconnect")->isEnabled());
  EXPECT_TRUE(window->findChild<QMenu*>("mnuConnect")->menuAction()->isEnabled());

  items[1]->trigger();
  ASSERT_TRUE(WaitConnected(pty));
  items = OpenMenu();
  EXPECT_FALSE(items[0]->isChecked());
  EXPECT_TRUE(items[1]->isChecked());
  EXPECT_TRUE(Action("mnuDisconnect")->isEnabled());
  ASSERT_TRUE(WaitFullRead(Entry().toStdString())) << "the listed entry is remembered";
}

TEST_F(ConnectionMenuTest, NoPortsNoSubmenu) {
  Open();
  EXPECT_TRUE(OpenMenu().isEmpty());
  EXPECT_FALSE(window->findChild<QMenu*>("mnuConnect")->menuAction()->isEnabled());
  EXPECT_TRUE(Log().contains("No serial ports found."));
}

TEST_F(ConnectionMenuTest, ChoosingTheTickedPortDoesNothing) {
  ports.devices = {{pty, "simulated board"}};
  Open();
  OpenMenu()[0]->trigger();
  ASSERT_TRUE(WaitConnected(pty));
  const LinkSession* worker = window->Link().Worker();
  OpenMenu()[0]->trigger();
  QTest::qWait(100);
  EXPECT_EQ(window->Link().Worker(), worker);
  EXPECT_EQ(Count(QString::fromStdString("Connecting to " + pty + "...")), 1);
  EXPECT_TRUE(window->Link().WorkerRunning());
}

TEST_F(ConnectionMenuTest, ChoosingAnotherPortRetargetsTheRunningWorker) {
  BoardOnPty second({.rows = 2});
  const std::string other = second.port;
  ports.devices = {{pty, "simulated board"}, {other, "second board"}};
  Open();
  OpenMenu()[0]->trigger();
  ASSERT_TRUE(WaitConnected(pty));
  const LinkSession* worker = window->Link().Worker();
  OpenMenu()[1]->trigger();
  ASSERT_TRUE(WaitConnected(other));
  EXPECT_EQ(window->Link().Worker(), worker) << "the running worker was re-targeted";
  EXPECT_THAT(second.board.Lines(), ::testing::Contains("80"));
  EXPECT_TRUE(WaitFullRead(other + " (second board)"));
  window.reset();  // before the second board goes
}

TEST_F(ConnectionMenuTest, DisconnectForgetsTheRememberedPort) {
  board.With([](sim::BoardState& s) { s.config.Mode = 0; });
  Open({pty});
  ASSERT_TRUE(WaitFullRead(pty));
  ASSERT_TRUE(prefs.exists);
  Action("mnuDisconnect")->trigger();
  EXPECT_FALSE(prefs.exists);
  EXPECT_EQ(window->Link().portName, "");
  ASSERT_TRUE(WaitForLog(QString::fromStdString("Disconnected from " + pty)));
  EXPECT_TRUE(QTest::qWaitFor([&] { return !window->Link().WorkerRunning(); }, 2000));
  EXPECT_TRUE(QTest::qWaitFor([&] { return !Action("mnuRefresh")->isEnabled(); }, 2000));
  EXPECT_EQ(CurrentPage(), "tsMessages");
}

TEST_F(ConnectionMenuTest, NewDeviceConnectsToTheNewestPortWhileDisconnected) {
  ports.devices = {{"/dev/ttyS9", "serial8250"}, {pty, "simulated board"}};
  Open();
  QFile node(devices.filePath("ttyUSB0"));
  ASSERT_TRUE(node.open(QIODevice::WriteOnly));
  ASSERT_TRUE(WaitForLog("New serial port detected: " + Entry()));
  EXPECT_TRUE(WaitConnected(pty));

  QFile another(devices.filePath("ttyUSB1"));
  ASSERT_TRUE(another.open(QIODevice::WriteOnly));
  QTest::qWait(100);
  EXPECT_EQ(Count("New serial port detected: " + Entry()), 1) << "connected: nothing happens";
}

TEST_F(ConnectionMenuTest, DoubleClickOnTheLogConnectsToTheNewestPort) {
  ports.devices = {{pty, "simulated board"}};
  Open();
  QWidget* viewport = window->findChild<QPlainTextEdit*>("mem")->viewport();
  QTest::mouseDClick(viewport, Qt::LeftButton);
  ASSERT_TRUE(WaitForLog("Most recently added: " + Entry()));
  EXPECT_TRUE(WaitConnected(pty));
  QTest::mouseDClick(viewport, Qt::LeftButton);
  QTest::qWait(50);
  EXPECT_EQ(Count("Most recently added: " + Entry()), 1) << "running: nothing happens";
}

TEST_F(ConnectionMenuTest, DebugToggleEndsTheLinkAndTheNextOneTraces) {
  ports.devices = {{pty, "simulated board"}};
  Open({pty});
  ASSERT_TRUE(WaitConnected(pty));
  Action("mnuDebug")->trigger();
  EXPECT_TRUE(Log().contains("Debug messages active"));
  ASSERT_TRUE(WaitForLog(QString::fromStdString("Disconnected from " + pty)));
  EXPECT_TRUE(window->Link().debugMessages);
  QTest::mouseDClick(window->findChild<QPlainTextEdit*>("mem")->viewport(), Qt::LeftButton);
  EXPECT_TRUE(WaitForLog("GetDevice"));
  Action("mnuDebug")->trigger();
  EXPECT_TRUE(Log().contains("Debug messages inactive"));
}

}  // namespace
}  // namespace vmx::testing
