// Desktop alerts from the real window against the simulated board, with a
// notification server of the test's own (python-dbusmock) on a private bus.
#include <gtest/gtest.h>

#include <QDBusArgument>
#include <QDBusMessage>

#include "app/desktop_alerts.h"
#include "tests/app/private_bus.h"
#include "tests/app/window_fixture.h"

namespace vmx::testing {
namespace {

class NotificationServer {
 public:
  NotificationServer() {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DBUS_SESSION_BUS_ADDRESS", bus_.Address());
    mock_.setProcessEnvironment(env);
    mock_.start("/usr/bin/python3",
                {"-m", "dbusmock", "--session", "--template", "notification_daemon"});
    QDBusConnection probe = bus_.Connect("probe");
    ready_ = QTest::qWaitFor(
        [&] {
          return probe.isConnected() &&
                 probe.interface()->isServiceRegistered("org.freedesktop.Notifications").value();
        },
        15000);
  }
  ~NotificationServer() {
    mock_.terminate();
    mock_.waitForFinished(5000);
  }
  bool Ready() const { return ready_; }
  const QString& Address() const { return bus_.Address(); }

  // The bodies of every notification received so far.
  QStringList Bodies() {
    QDBusMessage call = QDBusMessage::createMethodCall(
        "org.freedesktop.Notifications", "/org/freedesktop/Notifications",
        "org.freedesktop.DBus.Mock", "GetMethodCalls");
    call << QString("Notify");
    const QDBusMessage reply = bus_.Connect("probe").call(call);
    QStringList bodies;
    if (reply.type() != QDBusMessage::ReplyMessage) return bodies;
    // a(tav): a time stamp and the call's arguments; the body is the fifth.
    const QDBusArgument calls = reply.arguments().at(0).value<QDBusArgument>();
    calls.beginArray();
    while (!calls.atEnd()) {
      qulonglong stamp = 0;
      QVariantList args;
      calls.beginStructure();
      calls >> stamp >> args;
      calls.endStructure();
      if (args.size() > 4) bodies << args.at(4).toString();
    }
    calls.endArray();
    return bodies;
  }

 private:
  PrivateBus bus_;
  QProcess mock_;
  bool ready_ = false;
};

class AlertsTest : public WindowTest {
 protected:
  // The board under a path of its own: unplugged, the path names nothing, not
  // the terminal another program opens next under the same number.
  AlertsTest() : WindowTest({.rows = 4}, {.linkName = "board"}) {}
  // The window on the board, its notifications going to `server`.
  bool StartWindow(const NotificationServer& server) {
    StartOptions options = Options({pty, "-english"});
    options.desktopBus = server.Address();
    window = std::make_unique<TfrmLantix>(std::move(options));
    EXPECT_TRUE(WaitForPages(*window));
    return WaitFullRead(pty, 30000);
  }
};

TEST_F(AlertsTest, OneNotificationPerOvertemperatureEpisode) {
  if (!PrivateBus::Available()) GTEST_SKIP() << "no dbus-daemon";
  NotificationServer server;
  ASSERT_TRUE(server.Ready());
  ASSERT_TRUE(StartWindow(server));

  const QString alarm = "The board reports overtemperature.";
  board.With([](sim::BoardState& s) { s.info.ErrorFlags = 0x01; });
  ASSERT_TRUE(QTest::qWaitFor([&] { return server.Bodies().contains(alarm); }, 5000));
  QTest::qWait(400);  // several more reads while it lasts
  EXPECT_EQ(1, server.Bodies().count(alarm));
  EXPECT_EQ(1, Log().count(alarm)) << "the log has it too";

  board.With([](sim::BoardState& s) { s.info.ErrorFlags = 0; });
  QTest::qWait(300);
  board.With([](sim::BoardState& s) { s.info.ErrorFlags = 0x01; });
  ASSERT_TRUE(QTest::qWaitFor([&] { return server.Bodies().count(alarm) == 2; }, 5000))
      << "a new episode after it cleared";
}

TEST_F(AlertsTest, ABoardGoneForHalfAMinuteIsNotifiedOnce) {
  if (!PrivateBus::Available()) GTEST_SKIP() << "no dbus-daemon";
  NotificationServer server;
  ASSERT_TRUE(server.Ready());
  ASSERT_TRUE(StartWindow(server));

  const QString lost =
      QString("No connection to the board on %1 for more than 30 seconds.").arg(pty.c_str());
  const auto gone = std::chrono::steady_clock::now();
  BoardOnPty::server.HangUp(std::chrono::milliseconds(-1));  // unplugged for good
  // The link's end: after it nothing reports the board again, and only the
  // alert's own timer is left to notify.
  ASSERT_TRUE(WaitForLog(QString("Disconnected from %1").arg(pty.c_str()), 30000))
      << Log().join("\n").toStdString();
  ASSERT_TRUE(QTest::qWaitFor([&] { return server.Bodies().contains(lost); }, 90000))
      << Log().join("\n").toStdString();
  EXPECT_GE(std::chrono::steady_clock::now() - gone, std::chrono::seconds(29)) << "not before";
  // Everything the window has sent has arrived: a second notice would be there.
  const auto* alerts = window->findChild<DesktopAlerts*>();
  ASSERT_TRUE(alerts);
  ASSERT_TRUE(QTest::qWaitFor([&] { return server.Bodies().size() == alerts->Sent(); }, 10000))
      << alerts->Sent();
  EXPECT_EQ(1, server.Bodies().count(lost));
  EXPECT_EQ(1, Log().count(lost));
}

}  // namespace
}  // namespace vmx::testing
