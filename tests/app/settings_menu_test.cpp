// The File menu's settings files in a stand-in window: dialogs, the moment
// the records are taken, and what happens when the link changes meanwhile.
#include "app/settings_menu.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "tests/ui/fake_page_context.h"

namespace vmx::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

class SettingsMenuTest : public ::testing::Test {
 protected:
  SettingsMenuTest() {
    for (const char* name : {"mnuScheduleConfigExport", "mnuConfigImport", "mnuScheduleImport"})
      fake.AddAction(name);
    fake.appDir = dir.path() + "/";
    Info info;
    info.RowCount = 2;
    fake.store.AcceptInfo(Encode(info));
    fake.store.config.FanLow = 77;
    menu = std::make_unique<SettingsMenu>(fake, nullptr);
    menu->configurationShown = [this] { ++configurationsShown; };
  }
  void ReadEverything() {
    menu->LinkState(true);
    for (RecordKind p : {RecordKind::Config, RecordKind::Info, RecordKind::Expert,
                         RecordKind::Schedule, RecordKind::ExpertWeather})
      menu->RecordShown(p);
  }
  QString Write(const char* name, const QByteArray& text) {
    const QString path = dir.filePath(name);
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(text);
    return path;
  }
  QByteArray Read(const QString& path) {
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
  }
  void Trigger(const char* name) { fake.Find<QAction>(name)->trigger(); }

  QTemporaryDir dir;
  FakePageContext fake;
  ScriptedDialogs& dialogs = fake.dialogs;
  std::unique_ptr<SettingsMenu> menu;
  int configurationsShown = 0;
};

TEST_F(SettingsMenuTest, ExportAsksWhereAndWritesWhatThePCHoldsThen) {
  ReadEverything();
  uint32_t requestsWhileOpen = 0;
  dialogs.whileOpen = [&] {
    requestsWhileOpen = fake.store.Requests();
    fake.store.config.FanLow = 99;  // a read accepted while the dialog is open
  };
  const QString out = dir.filePath("out.ini");
  dialogs.fileNames = {out};
  Trigger("mnuScheduleConfigExport");
  EXPECT_EQ(requestsWhileOpen, 0x2A9u) << "the board is read again first";
  ASSERT_EQ(dialogs.fileRequests.size(), 1u);
  const Dialogs::FileRequest& r = dialogs.fileRequests[0];
  EXPECT_EQ(r.title, "Export schedule and configuration to...");
  EXPECT_EQ(r.directory, fake.appDir);
  EXPECT_EQ(r.filter, "Velmarinex 2.x.4 configuration (*.ini)");
  EXPECT_EQ(r.defaultSuffix, "ini");
  const QByteArray text = Read(out);
  EXPECT_TRUE(text.startsWith("[Config]\r\nMode=0\r\nFlag=0\r\nFanLow=99\r\n"));
  EXPECT_TRUE(text.contains("\r\n[1]\r\nHour=0\r\n"));
  EXPECT_THAT(fake.log, IsEmpty());
}

TEST_F(SettingsMenuTest, NothingBeforeEveryRecordIsRead) {
  menu->LinkState(true);
  menu->RecordShown(RecordKind::Config);
  EXPECT_FALSE(menu->RecordsComplete());
  const QString out = dir.filePath("out.ini");
  dialogs.fileNames = {out, out, out};
  for (const char* item : {"mnuScheduleConfigExport", "mnuConfigImport", "mnuScheduleImport"})
    Trigger(item);
  EXPECT_THAT(dialogs.fileRequests, IsEmpty());
  EXPECT_FALSE(QFile::exists(out));
  EXPECT_EQ(fake.store.Requests(), 0u);
  EXPECT_THAT(fake.log, ElementsAre("The board's settings have not all been read yet.",
                                    "The board's settings have not all been read yet.",
                                    "The board's settings have not all been read yet."));
}

TEST_F(SettingsMenuTest, ConfigurationImportShowsAndSendsTheFile) {
  ReadEverything();
  const QString in = Write("in.ini", "[Config]\nFanLow=300\nFlag=12abc\n[Weather]\nCloudP=76\n");
  dialogs.fileNames = {in};
  Trigger("mnuConfigImport");
  ASSERT_EQ(dialogs.fileRequests.size(), 1u);
  EXPECT_EQ(dialogs.fileRequests[0].title, "Import configuration from...");
  EXPECT_EQ(dialogs.fileRequests[0].filter, "Velmarinex 2.x.4 configuration (*.ini)");
  EXPECT_EQ(fake.store.config.FanLow, 44);
  EXPECT_EQ(fake.store.config.CloudP, 76);
  EXPECT_EQ(fake.store.Requests(), 0x510u);
  EXPECT_THAT(fake.applied, ElementsAre(RecordKind::Info, RecordKind::Config, RecordKind::Expert,
                                        RecordKind::ExpertWeather, RecordKind::Schedule));
  EXPECT_EQ(configurationsShown, 1);
  EXPECT_THAT(fake.log,
              ElementsAre("Values in " + in.toStdString() + " left out: [Config] Flag=12abc"));
}

TEST_F(SettingsMenuTest, AFileThatCannotBeReadSendsNothing) {
  ReadEverything();
  dialogs.fileNames = {dir.filePath("gone.ini"),
                       Write("binary.ini", QByteArray("[Config]\nFanLow=1\n\0\x01", 21))};
  Trigger("mnuConfigImport");
  Trigger("mnuScheduleImport");
  EXPECT_EQ(fake.store.Requests(), 0u);
  EXPECT_EQ(fake.store.config.FanLow, 77);
  ASSERT_EQ(fake.log.size(), 2u);
  EXPECT_THAT(fake.log[0], HasSubstr("gone.ini could not be read: No such file or directory"));
  EXPECT_THAT(fake.log[1], HasSubstr("binary.ini could not be read: not a settings file"));
}

TEST_F(SettingsMenuTest, TheLinkEndsWhileTheDialogIsOpen) {
  ReadEverything();
  const QString in = Write("in.ini", "[Config]\nFanLow=5\n[0]\nHour=7\n");
  dialogs.fileNames = {in, in};
  dialogs.whileOpen = [&] {
    fake.connected = false;
    menu->LinkState(false);
  };
  Trigger("mnuConfigImport");
  Trigger("mnuScheduleImport");
  EXPECT_EQ(dialogs.fileRequests.size(), 1u) << "the schedule import did not even ask";
  EXPECT_EQ(fake.store.config.FanLow, 77);
  EXPECT_EQ(fake.store.Requests(), 0u);
  EXPECT_THAT(fake.log, ElementsAre("Nothing imported: the connection to the board has ended "
                                    "meanwhile.",
                                    "The board's settings have not all been read yet."));
}

TEST_F(SettingsMenuTest, ScheduleImportMarksEveryRow) {
  ReadEverything();
  fake.store.Raise(request::ReadSchedule);
  const QString rows = Write("rows.ini", "[1]\nHour=21\n[2]\nHour=22\n");
  dialogs.fileNames = {rows, rows};
  Trigger("mnuScheduleImport");
  EXPECT_THAT(dialogs.fileRequests, IsEmpty()) << "a download is on its way";
  fake.store.SetRequests(0);
  Trigger("mnuScheduleImport");
  ASSERT_EQ(dialogs.fileRequests.size(), 1u);
  EXPECT_EQ(dialogs.fileRequests[0].title, "Import schedule from...");
  EXPECT_EQ(fake.store.schedule[1].Hour, 21);
  EXPECT_THAT(fake.store.RowMarks(), ElementsAre(true, true));
  EXPECT_EQ(fake.store.Requests(), request::WriteSchedule);
  EXPECT_THAT(fake.applied, ElementsAre(RecordKind::Schedule));
}

}  // namespace
}  // namespace vmx::testing
