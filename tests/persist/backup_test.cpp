// The automatic backup: its name, when it is written, and that a backup
// that is there survives anything that goes wrong with the new one.
#include "persist/auto_backup.h"

#include <dirent.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "link/shared_store.h"
#include "persist/records_complete.h"
#include "persist/text_file.h"
#include "tests/plain_files.h"
#include "tests/support/temp_folder.h"

namespace vmx {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

using testing::ReadAll;
using testing::WriteText;

std::vector<std::string> Entries(const std::string& folder) {
  std::vector<std::string> names;
  if (DIR* dir = opendir(folder.c_str())) {
    while (dirent* e = readdir(dir))
      if (e->d_name[0] != '.') names.push_back(e->d_name);
    closedir(dir);
  }
  std::sort(names.begin(), names.end());
  return names;
}

TEST(BackupFileName, IsThePortsBaseNameMadeSafe) {
  EXPECT_EQ(BackupFileName("COM5"), "Backup_COM5.ini");
  EXPECT_EQ(BackupFileName("/dev/rfcomm0 (rfcomm 00:11:22:AA:BB:CC)"), "Backup_rfcomm0.ini");
  EXPECT_EQ(BackupFileName("/dev/pts/3"), "Backup_3.ini");
  EXPECT_EQ(BackupFileName("../../etc/passwd"), "Backup_passwd.ini");
  EXPECT_EQ(BackupFileName("..\\..\\boot.ini"), "Backup_boot.ini.ini");
  EXPECT_EQ(BackupFileName("/dev/tty:USB*0"), "Backup_tty_USB_0.ini");
  EXPECT_EQ(BackupFileName("/dev/serial/by-id/usb-Velmarinex_2.x.4-if00"),
            "Backup_usb-Velmarinex_2.x.4-if00.ini");
  EXPECT_EQ(BackupFileName("\xC3\xA4rger"), "Backup___rger.ini");
  EXPECT_EQ(BackupFileName(""), "");
  EXPECT_EQ(BackupFileName(" COM5"), "") << "cut before the first blank";
  EXPECT_EQ(BackupFileName("/dev/"), "");
}

class BackupTest : public ::testing::Test {
 protected:
  BackupTest() {
    Info info;
    info.RowCount = 2;
    store.AcceptInfo(Encode(info));
    store.config.FanLow = 77;
    store.schedule[1].Hour = 21;
  }
  void ReadEverything() {
    records.LinkState(true);
    for (RecordKind p : {RecordKind::Config, RecordKind::Info, RecordKind::Expert,
                         RecordKind::Schedule, RecordKind::ExpertWeather})
      records.Shown(p, store);
  }
  BackupResult Backup(const std::string& port = "/dev/rfcomm0 (Bluetooth)") {
    return WriteBackup(folder.str(), port, store, records,
                       [this](const std::string& line) { log.push_back(line); });
  }
  std::string File() const { return folder / "Backup_rfcomm0.ini"; }

  testing::TempFolder folder{"vmx-backup"};
  SharedStore store;
  RecordsCompleteness records;
  std::vector<std::string> log;
};

TEST_F(BackupTest, WrittenOnceEveryRecordIsRead) {
  EXPECT_EQ(Backup(), BackupResult::NotConnected);
  EXPECT_THAT(log, IsEmpty()) << "no link, nothing to say";
  ReadEverything();
  EXPECT_EQ(Backup(""), BackupResult::NoPort);
  EXPECT_EQ(Backup(), BackupResult::Written);
  EXPECT_THAT(log, IsEmpty());
  const std::string text = ReadAll(File());
  EXPECT_TRUE(text.starts_with("[Config]\r\nMode=0\r\nFlag=0\r\nFanLow=77\r\n"));
  EXPECT_THAT(text, HasSubstr("\r\n[1]\r\nHour=21\r\n"));
  EXPECT_THAT(Entries(folder.str()), ElementsAre("Backup_rfcomm0.ini"));
}

TEST_F(BackupTest, AnIncompleteCopyNeverReplacesAGoodBackup) {
  WriteText(File(), "[Config]\r\nFanLow=12\r\n");
  records.LinkState(true);
  records.Shown(RecordKind::Config, store);
  records.Shown(RecordKind::Info, store);
  EXPECT_EQ(Backup(), BackupResult::Incomplete);
  EXPECT_THAT(log, ElementsAre("No backup Backup_rfcomm0.ini written: the board's settings have "
                               "not all been read yet."));
  EXPECT_EQ(ReadAll(File()), "[Config]\r\nFanLow=12\r\n");
}

TEST_F(BackupTest, MergesIntoTheBackupThatIsThereAndKeepsItsMode) {
  WriteText(File(), "; mine\n[Config]\nFanLow=12\n[9]\nHour=5\n");
  chmod(File().c_str(), 0640);
  ReadEverything();
  EXPECT_EQ(Backup(), BackupResult::Written);
  const std::string text = ReadAll(File());
  EXPECT_TRUE(text.starts_with("; mine\n[Config]\nFanLow=77\nMode=0\n"));
  EXPECT_THAT(text, HasSubstr("\n[9]\nHour=5\n"));
  struct stat st {};
  ASSERT_EQ(stat(File().c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST_F(BackupTest, AFailedWriteLeavesTheOldFileWholeAndIsLogged) {
  // A file size limit makes the write of the new text fail part way, as a
  // full disk or a kill in mid-write would leave it.
  const std::string old = "[Config]\r\nFanLow=12\r\n";
  WriteText(File(), old);
  ReadEverything();
  struct sigaction ignore {
  }, previous{};
  ignore.sa_handler = SIG_IGN;
  sigaction(SIGXFSZ, &ignore, &previous);
  rlimit saved{};
  getrlimit(RLIMIT_FSIZE, &saved);
  rlimit small = saved;
  small.rlim_cur = 100;
  setrlimit(RLIMIT_FSIZE, &small);
  const BackupResult result = Backup();
  setrlimit(RLIMIT_FSIZE, &saved);
  sigaction(SIGXFSZ, &previous, nullptr);

  EXPECT_EQ(result, BackupResult::Failed);
  EXPECT_EQ(ReadAll(File()), old);
  EXPECT_THAT(Entries(folder.str()), ElementsAre("Backup_rfcomm0.ini")) << "no temporary file left";
  ASSERT_EQ(log.size(), 1u);
  EXPECT_THAT(log[0], HasSubstr(File() + " could not be written: "));
}

TEST_F(BackupTest, AnUnreadableFileIsNeverOverwritten) {
  mkdir(File().c_str(), 0755);  // where the backup would go, something that is no file
  ReadEverything();
  EXPECT_EQ(Backup(), BackupResult::Failed);
  ASSERT_EQ(log.size(), 1u);
  EXPECT_THAT(log[0], HasSubstr(File() + " was left as it is, since it cannot be read: "));
  struct stat st {};
  EXPECT_EQ(stat(File().c_str(), &st), 0);
  EXPECT_TRUE(S_ISDIR(st.st_mode));
  rmdir(File().c_str());
}

TEST_F(BackupTest, ThroughALinkTheFileItPointsToIsReplaced) {
  const std::string real = folder / "real.ini";
  WriteText(real, "[Config]\nFanLow=1\n");
  ASSERT_EQ(symlink(real.c_str(), File().c_str()), 0);
  ReadEverything();
  EXPECT_EQ(Backup(), BackupResult::Written);
  struct stat st {};
  ASSERT_EQ(lstat(File().c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode));
  EXPECT_THAT(ReadAll(real), HasSubstr("FanLow=77"));
}

TEST(TextFile, PipesAndHugeFilesAreNotRead) {
  const testing::TempFolder folder("vmx-text");
  const std::string fifo = folder / "pipe";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_EQ(ReadTextFile(fifo).status, FileRead::Status::Failed) << "and it did not hang";
  const std::string big = folder / "big";
  WriteText(big, std::string(2000, 'x'));
  const FileRead read = ReadTextFile(big, 1000);
  EXPECT_EQ(read.status, FileRead::Status::Failed);
  EXPECT_EQ(read.error, "too large for a settings file");
  EXPECT_EQ(ReadTextFile(folder / "none").status, FileRead::Status::Missing);
}

TEST(TextFile, LinesAreAppendedWholeAndACutLineIsEnded) {
  const testing::TempFolder folder("vmx-text");
  const std::string log = folder / "events.log";
  EXPECT_EQ(AppendLine(log, "first\n"), "");
  EXPECT_EQ(AppendLine(log, "second\n"), "");
  EXPECT_EQ(ReadAll(log), "first\nsecond\n");
  WriteText(log, "first\ncut sh");
  EXPECT_EQ(AppendLine(log, "third\n"), "");
  EXPECT_EQ(ReadAll(log), "first\ncut sh\nthird\n");
  EXPECT_NE(AppendLine(folder / "none/events.log", "x\n"), "");
  EXPECT_NE(AppendLine(folder.str(), "x\n"), "") << "a folder is no file";
}

class CompletenessTest : public ::testing::Test {
 protected:
  void Show(std::initializer_list<RecordKind> pages) {
    for (RecordKind p : pages) records.Shown(p, store);
  }
  void ShowAll() {
    Show({RecordKind::Config, RecordKind::Info, RecordKind::Expert, RecordKind::Schedule,
          RecordKind::ExpertWeather});
  }
  void AcceptRows(uint8_t rows) {
    Info info;
    info.RowCount = rows;
    store.AcceptInfo(Encode(info));
  }
  SharedStore store;
  RecordsCompleteness records;
};

TEST_F(CompletenessTest, NeedsEveryRecordOfTheLink) {
  EXPECT_FALSE(records.Complete(store));
  ShowAll();
  EXPECT_FALSE(records.Complete(store)) << "reads without a link count for nothing";
  records.LinkState(true);
  Show({RecordKind::Config, RecordKind::Info, RecordKind::Expert, RecordKind::Schedule,
        RecordKind::Chart});
  EXPECT_FALSE(records.Complete(store));
  Show({RecordKind::ExpertWeather});
  EXPECT_TRUE(records.Complete(store));
  records.LinkState(false);
  EXPECT_FALSE(records.Complete(store));
  records.LinkState(true);  // another board
  EXPECT_FALSE(records.Complete(store));
}

TEST_F(CompletenessTest, ReefDefaultsMakeTheCopyStale) {
  records.LinkState(true);
  ShowAll();
  store.Raise(request::LoadReef);
  EXPECT_TRUE(records.Complete(store)) << "not loaded yet: the copy is still the board's";
  store.Change(request::LoadReef, request::ReadAllSet);  // the worker takes it
  EXPECT_FALSE(records.Complete(store));
  Show({RecordKind::Config, RecordKind::Info, RecordKind::Expert, RecordKind::Schedule});
  EXPECT_FALSE(records.Complete(store));
  Show({RecordKind::ExpertWeather});
  EXPECT_TRUE(records.Complete(store));
}

TEST_F(CompletenessTest, ANewRowCountNeedsTheScheduleAgain) {
  records.LinkState(true);
  AcceptRows(3);
  ShowAll();
  EXPECT_TRUE(records.Complete(store));
  Show({RecordKind::Info});
  EXPECT_TRUE(records.Complete(store)) << "the same rows";
  AcceptRows(5);
  Show({RecordKind::Info});
  EXPECT_FALSE(records.Complete(store));
  Show({RecordKind::Schedule});
  EXPECT_TRUE(records.Complete(store));
}

}  // namespace
}  // namespace vmx
