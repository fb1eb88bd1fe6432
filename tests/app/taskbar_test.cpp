// The launcher progress the window announces, heard on a private bus.
#include <gtest/gtest.h>

#include <QDBusMessage>
#include <QVariantMap>

#include "tests/app/private_bus.h"
#include "tests/app/window_fixture.h"

namespace vmx::testing {

class LauncherListener : public QObject {
  Q_OBJECT

 public:
  QList<QVariantMap> updates;

 public slots:
  void Update(const QDBusMessage& message) {
    if (message.arguments().size() == 2 &&
        message.arguments()[0].toString() == "application://velmarinex.desktop")
      updates.append(qdbus_cast<QVariantMap>(message.arguments()[1]));
  }
};

namespace {

class TaskbarTest : public WindowTest {
 protected:
  void SetUp() override {
    if (!PrivateBus::Available()) GTEST_SKIP() << "dbus-daemon is not installed";
    ASSERT_TRUE(bus.Connect("listener")
                    .connect({}, {}, "com.canonical.Unity.LauncherEntry", "Update", &listener,
                             SLOT(Update(QDBusMessage))));
  }
  bool Urgent() const { return listener.updates.last().value("urgent").toBool(); }
  // The link may come up before the first signals arrive, so the start is
  // judged by the first update that says anything about attention.
  const QVariantMap* FirstWithUrgency() const {
    for (const QVariantMap& u : listener.updates)
      if (u.contains("urgent")) return &u;
    return nullptr;
  }

  PrivateBus bus;
  LauncherListener listener;
};

TEST_F(TaskbarTest, FullBarThatAsksForAttentionUntilABoardIsConnected) {
  StartOptions o = Options({pty});
  o.desktopBus = bus.Address();
  window = std::make_unique<TfrmLantix>(std::move(o));
  EXPECT_TRUE(WaitForPages(*window));
  window->show();
  ASSERT_TRUE(QTest::qWaitFor([&] { return FirstWithUrgency() != nullptr; }, 5000));
  const QVariantMap first = *FirstWithUrgency();
  EXPECT_EQ(first.value("progress").toDouble(), 1.0);
  EXPECT_TRUE(first.value("progress-visible").toBool());
  EXPECT_TRUE(first.value("urgent").toBool());

  ASSERT_TRUE(WaitConnected(pty));
  EXPECT_TRUE(QTest::qWaitFor([&] { return !Urgent(); }, 5000));
  Action("mnuDisconnect")->trigger();
  EXPECT_TRUE(QTest::qWaitFor([&] { return Urgent(); }, 5000)) << "no worker left: red again";
}

}  // namespace
}  // namespace vmx::testing

#include "taskbar_test.moc"
