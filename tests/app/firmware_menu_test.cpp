// "Update firmware..." in the window: the confirmation, the chooser the worker
// asks for, the Messages page, the taskbar, and the board's flash afterwards.
#include <gmock/gmock.h>

#include <QDBusMessage>
#include <QTabWidget>
#include <QVariantMap>
#include <functional>

#include "link/request_flags.h"
#include "tests/app/private_bus.h"
#include "tests/app/window_fixture.h"
#include "tests/link/vxh_file.h"
#include "tests/ui/scripted_dialogs.h"

namespace vmx::testing {

// Launcher updates of the window's progress, heard on a private bus.
class ProgressListener : public QObject {
  Q_OBJECT

 public:
  QList<double> progress;

 public slots:
  void Update(const QDBusMessage& message) {
    if (message.arguments().size() != 2) return;
    const QVariantMap props = qdbus_cast<QVariantMap>(message.arguments()[1]);
    if (props.contains("progress")) progress.append(props.value("progress").toDouble());
  }
};

namespace {

using ::testing::Contains;

// The test's answers, and a moment of its own while the chooser is open.
class ChooserDialogs final : public Dialogs {
 public:
  bool AskYesNo(const QString& c, const QString& t, Icon i, bool d) override {
    return script.AskYesNo(c, t, i, d);
  }
  QString OpenFileName(const FileRequest& request) override {
    if (whileOpen) whileOpen();
    return script.OpenFileName(request);
  }
  QString SaveFileName(const FileRequest& request) override { return script.SaveFileName(request); }

  ScriptedDialogs script;
  std::function<void()> whileOpen;
};

class FirmwareMenuTest : public WindowTest {
 protected:
  explicit FirmwareMenuTest(sim::BoardOptions options = {.rows = 4}) : WindowTest(options) {}

  void OpenWith(StartOptions o) {
    o.dialogs = &dialogs;
    window = std::make_unique<TfrmLantix>(std::move(o));
    EXPECT_TRUE(WaitForPages(*window));
  }
  void OpenConnected() {
    OpenWith(Options({pty, "-english"}));
    ASSERT_TRUE(WaitFullRead(pty));
  }
  bool Sent(const std::string& line) const {
    const auto lines = board.Lines();
    return std::find(lines.begin(), lines.end(), line) != lines.end();
  }
  QStringList Pages() const { return pages; }
  void RecordPages() {
    QObject::connect(window->findChild<QTabWidget*>("pc"), &QTabWidget::currentChanged,
                     [this](int) { pages.append(CurrentPage()); });
  }

  ChooserDialogs dialogs;
  QStringList pages;
};

TEST_F(FirmwareMenuTest, NoLeavesTheBoardAsItIs) {
  OpenConnected();
  board.ClearLines();
  Action("mnuFirmwareUpdate")->trigger();
  ASSERT_EQ(dialogs.script.questions.size(), 1);
  EXPECT_EQ(dialogs.script.questions[0],
            "Updating the firmware will happen at your own risk.\nA partially or faulty "
            "transmitted firmware is not\nexecutable. However, the sequence can be "
            "repeated.\n\nPlease note that all settings will be reset to their defaults\n"
            "(including the fan speeds).\n\nProceed?");
  EXPECT_FALSE(window->Store().Pending(request::Bootloader));
  QTest::qWait(300);
  EXPECT_FALSE(Sent("7F00"));
  EXPECT_TRUE(dialogs.script.fileRequests.empty());
}

TEST_F(FirmwareMenuTest, WithoutALinkTheShortcutAsksNothing) {
  dialogs.script.answers = {true};
  OpenWith(Options({"-english"}));
  Action("mnuFirmwareUpdate")->trigger();
  EXPECT_TRUE(dialogs.script.questions.empty());
  EXPECT_FALSE(window->Store().Pending(request::Bootloader));
}

TEST_F(FirmwareMenuTest, YesWritesTheChosenImageAndShowsTheLog) {
  const auto data = Pattern(0, 0x7FF);
  TempFile file(VxhBytes(0, 0x7FF, data));
  dialogs.script.answers = {true};
  dialogs.script.fileNames = {QString::fromStdString(file.path())};
  OpenConnected();
  window->show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  RecordPages();
  // The user is somewhere else when the chooser comes.
  dialogs.whileOpen = [&] { window->ShowPage(window->PageNamed("tsChannels")); };
  QTest::keyClick(window.get(), Qt::Key_F, Qt::ControlModifier);
  ASSERT_EQ(dialogs.script.questions.size(), 1) << "Ctrl+F asks first";

  ASSERT_TRUE(WaitForLog("Firmware successfully updated. Remove jumper (if set)!", 10000));
  ASSERT_EQ(dialogs.script.fileRequests.size(), 1u);
  const Dialogs::FileRequest& asked = dialogs.script.fileRequests[0];
  EXPECT_EQ(asked.title, "Choose Velmarinex 2.x firmware file");
  EXPECT_EQ(asked.directory, window->AppDir());
  EXPECT_EQ(asked.fileName, window->AppDir() + "Velmarinex2x4.vxh");
  EXPECT_TRUE(asked.filter.startsWith("Velmarinex 2.x firmware ("));
  EXPECT_TRUE(asked.filter.contains("Velmarinex2x*.vxh"));
  EXPECT_TRUE(asked.filter.contains("Velmarinex2x*.VXH"));
  EXPECT_EQ(asked.defaultSuffix, "vxh");

  const int chosenAt = static_cast<int>(Pages().indexOf("tsChannels"));
  ASSERT_GE(chosenAt, 0);
  ASSERT_LT(chosenAt + 1, Pages().size());
  EXPECT_EQ(Pages()[chosenAt + 1], "tsMessages") << "the log comes forward once a file is chosen";

  const QStringList log = Log();
  EXPECT_THAT(log, Contains("0x0000 (0 %)"));
  EXPECT_THAT(log, Contains("0x0400 (50 %)"));
  EXPECT_THAT(log, Contains("Starting firmware update, flashing 2048 bytes..."));
  const auto flash = board.Flash();
  EXPECT_TRUE(std::equal(data.begin(), data.end(), flash.begin()));
  // Back with the application: connected, and everything read anew.
  EXPECT_TRUE(WaitConnected(pty));
  EXPECT_TRUE(QTest::qWaitFor([&] { return window->ConnectedState(); }, 5000));
}

TEST_F(FirmwareMenuTest, TheTransferFillsTheTaskbarButton) {
  if (!PrivateBus::Available()) GTEST_SKIP() << "dbus-daemon is not installed";
  PrivateBus bus;
  ProgressListener listener;
  ASSERT_TRUE(bus.Connect("listener")
                  .connect({}, {}, "com.canonical.Unity.LauncherEntry", "Update", &listener,
                           SLOT(Update(QDBusMessage))));
  TempFile file(VxhBytes(0, 0x7FF, Pattern(0, 0x7FF)));
  dialogs.script.answers = {true};
  dialogs.script.fileNames = {QString::fromStdString(file.path())};
  StartOptions o = Options({pty, "-english"});
  o.desktopBus = bus.Address();
  OpenWith(std::move(o));
  ASSERT_TRUE(WaitFullRead(pty));
  Action("mnuFirmwareUpdate")->trigger();
  ASSERT_TRUE(WaitForLog("Firmware successfully updated. Remove jumper (if set)!", 10000));
  ASSERT_TRUE(QTest::qWaitFor([&] { return listener.progress.contains(0.5); }, 5000));
  EXPECT_TRUE(listener.progress.contains(0.0));
  EXPECT_TRUE(QTest::qWaitFor([&] { return listener.progress.last() == 1.0; }, 5000))
      << "full again afterwards";
}

class FirmwareMenuJumperedBoardTest : public FirmwareMenuTest {
 protected:
  FirmwareMenuJumperedBoardTest() : FirmwareMenuTest({.rows = 4, .inBootloader = true}) {}
};

TEST_F(FirmwareMenuJumperedBoardTest, ABoardInItsBootloaderBringsTheChooserAndCancelSendsItBack) {
  OpenWith(Options({pty, "-english"}));
  ASSERT_TRUE(WaitForLog(QString::fromStdString("Connected to Velmarinex bootloader on " + pty)));
  ASSERT_TRUE(WaitConnected(pty));
  EXPECT_TRUE(dialogs.script.questions.empty()) << "no menu, no question";
  ASSERT_EQ(dialogs.script.fileRequests.size(), 1u);
  EXPECT_TRUE(Sent("01000000000000"));
  EXPECT_THAT(Log(), Contains("Resetting..."));
}

}  // namespace
}  // namespace vmx::testing

#include "firmware_menu_test.moc"
