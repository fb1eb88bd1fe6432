// Settings files and the automatic backup in the window, against the
// simulated board on a real pty: what goes on the wire, what lands on disk.
#include <gmock/gmock.h>

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>

#include "tests/app/window_fixture.h"
#include "tests/ui/scripted_dialogs.h"

namespace vmx::testing {
namespace {

using namespace std::chrono_literals;
using ::testing::Contains;
using ::testing::HasSubstr;
using ::testing::StartsWith;

// The board's Config as the simulated board holds it, with FanLow 44.
constexpr const char* kConfigWithFanLow44 =
    "02"
    "01022CC81EDC01"
    "070B0405080C02030D0F0600"
    "05002202030047020D028600";

class SettingsWindowTest : public WindowTest {
 protected:
  void Open(std::vector<std::string> args) {
    StartOptions o = Options(std::move(args));
    o.dialogs = &dialogs;
    o.appDir = folder.path();
    window = std::make_unique<TfrmLantix>(o);
    EXPECT_TRUE(WaitForPages(*window));
  }
  QString InFolder(const QString& name) const { return QDir(folder.path()).filePath(name); }
  // Backup_<the pty's base name>.ini
  QString BackupOf(const std::string& port) const {
    return InFolder("Backup_" + QString::fromStdString(port.substr(port.rfind('/') + 1)) + ".ini");
  }
  QString Write(const QString& name, const QByteArray& text) {
    QFile file(InFolder(name));
    file.open(QIODevice::WriteOnly);
    file.write(text);
    return file.fileName();
  }
  static QByteArray Read(const QString& path) {
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
  }
  bool WaitSettingsRead() {
    return QTest::qWaitFor([&] { return Action("mnuScheduleConfigExport")->isEnabled(); }, 5000);
  }
  // Waits, letting the window run, until the board has received a line starting with `prefix`.
  bool WaitForWire(const std::string& prefix) {
    return QTest::qWaitFor(
        [&] {
          for (const auto& l : board.Lines())
            if (l.starts_with(prefix)) return true;
          return false;
        },
        5000);
  }
  std::vector<std::string> LinesStarting(const std::string& prefix) {
    std::vector<std::string> out;
    for (const auto& l : board.Lines())
      if (l.starts_with(prefix)) out.push_back(l);
    return out;
  }
  int RunCli(const QStringList& args) {
    QProcess cli;
    cli.start(VMX_CLI_PROGRAM, args);
    if (!cli.waitForFinished(30000)) return -1;
    return cli.exitCode();
  }

  QTemporaryDir folder;
  ScriptedDialogs dialogs;
};

TEST_F(SettingsWindowTest, DisconnectingWritesTheBackup) {
  Open({pty});
  ASSERT_TRUE(WaitFullRead(pty));
  ASSERT_TRUE(WaitSettingsRead());
  Action("mnuDisconnect")->trigger();
  const QByteArray text = Read(BackupOf(pty));
  EXPECT_TRUE(text.startsWith("[Config]\r\nMode=1\r\nFlag=2\r\nFanLow=77\r\nFanHigh=200\r\n"));
  EXPECT_TRUE(text.contains("\r\n[Names]\r\nColorName0=7\r\nColorName1=11\r\n"));
  EXPECT_TRUE(text.contains("\r\n[3]\r\nHour=22\r\nMinute=0\r\n")) << "the board's last row";
  EXPECT_FALSE(text.contains("[4]"));
  EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files).size(), 1);
}

TEST_F(SettingsWindowTest, StandbyAndClosingWriteTheBackup) {
  Open({pty});
  ASSERT_TRUE(WaitSettingsRead());
  window->SystemSuspending();
  EXPECT_TRUE(QFile::remove(BackupOf(pty)));
  ASSERT_TRUE(QTest::qWaitFor([&] { return !Action("mnuScheduleConfigExport")->isEnabled(); }));
  ASSERT_TRUE(QTest::qWaitFor([&] { return !window->Link().WorkerRunning(); }, 5000));
  window->SystemResuming();
  ASSERT_TRUE(WaitSettingsRead());
  window->close();
  EXPECT_THAT(Read(BackupOf(pty)).toStdString(), HasSubstr("\r\nFanLow=77\r\n"));
}

TEST_F(SettingsWindowTest, RemovingTheBoardWritesTheBackupFirst) {
  Open({pty});
  ASSERT_TRUE(WaitSettingsRead());
  Action("mnuRemove")->trigger();
  EXPECT_THAT(Read(BackupOf(pty)).toStdString(), HasSubstr("\r\nFanLow=77\r\n"));
}

TEST_F(SettingsWindowTest, SwitchingPortsBacksUpTheBoardLeft) {
  BoardOnPty second({.rows = 2});
  second.OnBoard([](sim::BoardState& s) { s.config.FanLow = 11; });
  const std::string other = second.port;
  ports.devices = {{pty, "simulated board"}, {other, "second board"}};
  Open({pty});
  ASSERT_TRUE(WaitFullRead(pty));
  ASSERT_TRUE(WaitSettingsRead());
  window->mnuConnectionClick();
  window->SelectPort(1);
  EXPECT_THAT(Read(BackupOf(pty)).toStdString(), HasSubstr("\r\nFanLow=77\r\n"));
  ASSERT_TRUE(WaitFullRead(other + " (second board)"));
  ASSERT_TRUE(WaitSettingsRead());
  window->mnuConnectionClick();
  window->SelectPort(0);
  EXPECT_THAT(Read(BackupOf(other)).toStdString(), HasSubstr("\r\nFanLow=11\r\n"));
  EXPECT_THAT(Read(BackupOf(other)).toStdString(), Not(HasSubstr("[2]")));
  window.reset();  // before the second board goes
}

TEST_F(SettingsWindowTest, NoBackupAndNoFilesBeforeEveryRecordIsRead) {
  // The weather record does not come: the copy stays incomplete.
  board.InjectFault(sim::Fault::Silence, 1000, "86");
  const QString backup = BackupOf(pty);
  Write(QFileInfo(backup).fileName(), "[Config]\r\nFanLow=12\r\n");
  Open({pty});
  ASSERT_TRUE(WaitConnected(pty));
  ASSERT_TRUE(WaitForWire("86"));
  EXPECT_TRUE(Action("mnuRefresh")->isEnabled());
  for (const char* item : {"mnuScheduleConfigExport", "mnuConfigImport", "mnuScheduleImport"})
    EXPECT_FALSE(Action(item)->isEnabled()) << item;
  Action("mnuDisconnect")->trigger();
  EXPECT_TRUE(Log().contains("No backup " + QFileInfo(backup).fileName() +
                             " written: the board's settings have not all been read yet."));
  EXPECT_EQ(Read(backup), "[Config]\r\nFanLow=12\r\n");
}

TEST_F(SettingsWindowTest, WindowAndCommandLineExportTheSameFile) {
  Open({pty});
  ASSERT_TRUE(WaitFullRead(pty));
  ASSERT_TRUE(WaitSettingsRead());
  dialogs.fileNames = {InFolder("window.ini")};
  Action("mnuScheduleConfigExport")->trigger();
  const QByteArray exported = Read(InFolder("window.ini"));
  ASSERT_FALSE(exported.isEmpty());
  Action("mnuDisconnect")->trigger();
  ASSERT_TRUE(WaitForLog(QString::fromStdString("Disconnected from " + pty)));
  ASSERT_TRUE(QTest::qWaitFor([&] { return !window->Link().WorkerRunning(); }, 5000));

  ASSERT_EQ(RunCli({"settings", "export", QString::fromStdString(pty), InFolder("cli.ini")}), 0);
  EXPECT_EQ(Read(InFolder("cli.ini")), exported);

  // And read back, the file changes nothing on the board.
  const Config before = board.With([](sim::BoardState& s) { return s.config; });
  board.ClearLines();
  ASSERT_EQ(
      RunCli({"settings", "import", "config", QString::fromStdString(pty), InFolder("window.ini")}),
      0);
  EXPECT_THAT(board.Lines(), Contains(StartsWith("02")));
  EXPECT_EQ(board.With([](sim::BoardState& s) { return s.config; }), before);
}

TEST_F(SettingsWindowTest, ConfigurationImportGoesOnTheWire) {
  Open({pty});
  ASSERT_TRUE(WaitFullRead(pty));
  ASSERT_TRUE(WaitSettingsRead());
  board.ClearLines();
  dialogs.fileNames = {Write("fan.ini", "[Config]\r\nFanLow=300\r\n")};
  Action("mnuConfigImport")->trigger();
  ASSERT_TRUE(WaitForWire("02") && WaitForWire("05") && WaitForWire("06"));
  EXPECT_THAT(LinesStarting("02"), Contains(kConfigWithFanLow44));
  EXPECT_EQ(LinesStarting("05").size(), 1u);
  EXPECT_EQ(board.With([](sim::BoardState& s) { return s.config.FanLow; }), 44);
}

TEST_F(SettingsWindowTest, IndicesBeyondTheTablesAreSentAndShownSafely) {
  Open({pty});
  window->show();  // a hidden window does not show a Config record
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
  ASSERT_TRUE(WaitFullRead(pty));
  ASSERT_TRUE(WaitSettingsRead());
  board.ClearLines();
  dialogs.fileNames = {Write("odd.ini",
                             "[Names]\nColorName0=20\n[Config]\nMode=9\nJMPMode=50\n"
                             "Language=7\n")};
  Action("mnuConfigImport")->trigger();
  ASSERT_TRUE(WaitForWire("02") && WaitForWire("05") && WaitForWire("06"));
  ASSERT_EQ(LinesStarting("02").size(), 1u);
  EXPECT_THAT(LinesStarting("02")[0], StartsWith("020902")) << "Mode 9 as the file says";
  EXPECT_EQ(LinesStarting("02")[0].substr(16, 2), "14") << "ColorName0 20";
  EXPECT_EQ(LinesStarting("05")[0].substr(4, 2), "32") << "JMPMode 50";
  EXPECT_EQ(window->findChild<QComboBox*>("cmbName0")->currentIndex(), -1);
  EXPECT_EQ(window->findChild<QLabel*>("lbl_edtMoon0")->text(), "A: Unnamed");
  // The board answers with the same values; showing them again is just as safe.
  window->Store().Raise(request::ReadAllSet);
  ASSERT_TRUE(WaitForWire("86"));
  EXPECT_TRUE(QTest::qWaitFor([&] { return !window->Store().Pending(request::ReadAllSet); }, 5000));
  EXPECT_EQ(window->Store().config.Mode, 9);
}

TEST_F(SettingsWindowTest, ScheduleImportSendsEveryRow) {
  Open({pty});
  ASSERT_TRUE(WaitFullRead(pty));
  ASSERT_TRUE(WaitSettingsRead());
  board.ClearLines();
  dialogs.fileNames = {Write("rows.ini", "[1]\nHour=21\nMinute=5\n[9]\nHour=1\n")};
  Action("mnuScheduleImport")->trigger();
  ASSERT_TRUE(QTest::qWaitFor([&] { return LinesStarting("03").size() == 4; }, 5000));
  const std::vector<std::string> rows = LinesStarting("03");
  for (size_t k = 0; k < 4; ++k) EXPECT_THAT(rows[k], StartsWith("030" + std::to_string(k)));
  EXPECT_THAT(rows[1], StartsWith("03011505"));
  EXPECT_EQ(board.With([](sim::BoardState& s) { return s.schedule[1].Hour; }), 21);
}

}  // namespace
}  // namespace vmx::testing
