// The settings history on a real folder: what is stored, what is listed as
// damaged, what retention keeps, and that a killed writer leaves no half file.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <set>

#include "link/shared_store.h"
#include "persist/auto_backup.h"
#include "persist/history_retention.h"
#include "persist/records_complete.h"
#include "persist/history_triggers.h"
#include "persist/settings_file.h"
#include "persist/settings_history.h"
#include "persist/settings_source.h"
#include "settings/device_actions.h"
#include "tests/plain_files.h"
#include "tests/support/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using vmx::SnapshotReason;
using vmx::testing::ReadAll;
using vmx::testing::WriteText;

constexpr int64_t kDay = 86400;
// 2024-06-21T12:00:00Z
constexpr int64_t kNow = 1718971200;

class HistoryTest : public ::testing::Test {
 protected:
  vmx::SettingsHistory History() {
    return vmx::SettingsHistory(folder, "tests", [this] { return now; });
  }
  static vmx::SettingsRecords Records(uint8_t fanLow, size_t rows = 3) {
    vmx::SettingsRecords r;
    r.config.FanLow = fanLow;
    r.schedule.resize(rows);
    return r;
  }
  std::set<std::string> Files() const {
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(folder))
      if (e.path().extension() == ".ini") names.insert(e.path().filename().string());
    return names;
  }

  vmx::testing::TempFolder temp{"vmx-history"};
  std::string root = temp.str();
  fs::path folder = fs::path(root) / "history" / "vmx5_test";
  int64_t now = kNow;
};

TEST_F(HistoryTest, AnIdenticalSnapshotIsOnlyAnEventPointingToTheStoredFile) {
  vmx::SettingsHistory history = History();
  const vmx::SnapshotResult first = history.Take(Records(77), SnapshotReason::Backup, "vmx5_test");
  now += 60;
  const vmx::SnapshotResult same =
      history.Take(Records(77), SnapshotReason::BeforeImport, "vmx5_test");
  now += 60;
  const vmx::SnapshotResult other = history.Take(Records(90), SnapshotReason::Export, "vmx5_test");
  ASSERT_TRUE(first.error.empty() && same.error.empty() && other.error.empty());
  EXPECT_TRUE(first.stored);
  EXPECT_FALSE(same.stored);
  EXPECT_EQ(same.file, first.file);
  EXPECT_TRUE(other.stored);
  EXPECT_EQ(Files().size(), 2u);

  const std::vector<vmx::SnapshotEntry> list = history.List();
  ASSERT_EQ(list.size(), 3u);
  EXPECT_EQ(list[1].reason, SnapshotReason::BeforeImport);
  EXPECT_EQ(list[1].taken, kNow + 60);
  const auto undo = vmx::UndoTarget(list);
  ASSERT_TRUE(undo);
  EXPECT_EQ(undo->file, first.file);
  // The snapshot is a settings file an import reads, header and all.
  const vmx::LoadedSnapshot loaded = history.Load(*undo);
  ASSERT_TRUE(loaded.doc) << loaded.error;
  EXPECT_EQ(loaded.doc->Get("Config", "FanLow"), "77");
  const std::string text = ReadAll((folder / first.file).string());
  EXPECT_THAT(text, ::testing::StartsWith("[Snapshot]\r\nTaken=2024-06-21T12:00:00Z\r\n"
                                          "Reason=backup\r\nProgram=tests\r\nBoard=vmx5_test\r\n"));
  EXPECT_EQ(vmx::PickSnapshot(list, "latest")->file, other.file);
  EXPECT_FALSE(vmx::PickSnapshot(list, "4"));
  EXPECT_FALSE(vmx::PickSnapshot(list, "0"));
}

TEST_F(HistoryTest, ADamagedSnapshotIsListedAsDamagedAndNeverLoaded) {
  vmx::SettingsHistory history = History();
  const std::string good = history.Take(Records(77), SnapshotReason::Backup, "b").file;
  const std::string text = ReadAll((folder / good).string());
  const size_t body = text.find("[Config]");
  auto replaced = [&](const std::string& from, const std::string& to) {
    std::string t = text;
    t.replace(t.find(from), from.size(), to);
    return t;
  };
  const struct {
    const char* name;
    std::string text;
  } cases[] = {
      {"no-header.ini", text.substr(body)},
      {"bad-time.ini", replaced("Taken=2024-06-21T12:00:00Z", "Taken=2024-06-31T12:00:00Z")},
      {"bad-reason.ini", replaced("Reason=backup", "Reason=whim")},
      {"no-digest.ini", replaced("Digest=", "Digets=")},
      {"cut-short.ini", text.substr(0, text.size() - 10)},
      {"changed.ini", replaced("FanLow=77", "FanLow=78")},
      {"empty.ini", ""},
  };
  for (const auto& c : cases) WriteText((folder / c.name).string(), c.text);
  // An event whose file is gone.
  WriteText((folder / "events.log").string(),
            ReadAll((folder / "events.log").string()) +
                "2024-06-21T12:30:00Z\tbefore-import\ttests\tgone.ini\n");

  const std::vector<vmx::SnapshotEntry> list = history.List();
  std::set<std::string> damaged;
  for (const auto& e : list) {
    if (!e.damaged) {
      EXPECT_THAT(e.file, ::testing::AnyOf(good, "changed.ini"));
      continue;
    }
    damaged.insert(e.file);
    EXPECT_FALSE(e.problem.empty()) << e.file;
    EXPECT_FALSE(history.Load(e).doc) << e.file;
  }
  // "changed.ini" has a sound header of the right length: only loading finds it.
  EXPECT_EQ(damaged, (std::set<std::string>{"no-header.ini", "bad-time.ini", "bad-reason.ini",
                                            "no-digest.ini", "cut-short.ini", "empty.ini",
                                            "gone.ini"}));
  for (const auto& e : list)
    if (e.file == "changed.ini") {
      EXPECT_THAT(history.Load(e).error, ::testing::HasSubstr("changed"));
    }
  // Undo refuses what it cannot trust rather than taking an older one.
  const auto undo = vmx::UndoTarget(list);
  ASSERT_TRUE(undo);
  EXPECT_EQ(undo->file, "gone.ini");
  EXPECT_TRUE(undo->damaged);
}

TEST_F(HistoryTest, RetentionKeepsRecentOnesThenOneADayThenOneAMonth) {
  using R = SnapshotReason;
  const struct {
    double ageDays;
    R reason;
    bool kept;
  } cases[] = {
      {400.5, R::Backup, false},       // a month keeps its newest: the next one
      {400.0, R::Backup, true},
      {120.0, R::BeforeImport, true},   // the one before the last import, though its month has a newer one
      {119.0, R::Backup, true},
      {50.0, R::Backup, true},          // one a day
      {40.3, R::Backup, false},         // a day keeps its newest
      {40.2, R::Backup, true},
      {20.0, R::Backup, true},          // one a day
      {13.9, R::Backup, true},          // everything within 14 days
      {13.8, R::Backup, true},
      {0.0, R::Export, true},           // the newest
  };
  std::vector<vmx::SnapshotEntry> entries;
  std::vector<bool> expected;
  for (const auto& c : cases) {
    vmx::SnapshotEntry e;
    e.taken = kNow - static_cast<int64_t>(c.ageDays * kDay);
    e.reason = c.reason;
    entries.push_back(e);
    expected.push_back(c.kept);
  }
  EXPECT_EQ(vmx::RetainedSnapshots(entries, kNow, {}), expected);

  // Nothing older than the daily span without monthly keeping; the newest
  // and the undo target stay whatever their age.
  std::vector<vmx::SnapshotEntry> old = {entries[0], entries[4]};
  old[1].reason = R::BeforeReef;
  EXPECT_EQ(vmx::RetainedSnapshots(old, kNow + 1000 * kDay, {14, 92, false}),
            (std::vector<bool>{false, true}));
  old.push_back(entries[10]);
  EXPECT_EQ(vmx::RetainedSnapshots(old, kNow, {0, 0, false}),
            (std::vector<bool>{false, true, true}));
}

TEST_F(HistoryTest, PruningDropsEventsAndOnlyFilesNoKeptEventNeeds) {
  vmx::SettingsHistory history = History();
  fs::create_directories(folder);
  WriteText((folder.parent_path() / "retention.ini").string(),
            "[Retention]\nKeepAllDays=1\nKeepDailyDays=3\nKeepMonthly=0\n");
  const vmx::RetentionPolicy policy = vmx::ReadRetentionPolicy(root);
  EXPECT_EQ(policy, (vmx::RetentionPolicy{1, 3, false}));
  now = kNow - 10 * kDay;
  const std::string a = history.Take(Records(1), SnapshotReason::Backup, "b").file;
  now = kNow - 5 * kDay;
  const std::string b = history.Take(Records(2), SnapshotReason::Backup, "b").file;
  now = kNow - 4 * kDay;
  history.Take(Records(2), SnapshotReason::BeforeImport, "b");  // points to b
  now = kNow - 2 * kDay;
  const std::string c = history.Take(Records(3), SnapshotReason::Backup, "b").file;
  now = kNow;
  const std::string d = history.Take(Records(4), SnapshotReason::Export, "b").file;
  WriteText((folder / "hand-made.ini").string(), "[Config]\nFanLow=5\n");  // damaged: kept

  const vmx::PruneResult pruned = vmx::PruneHistory(history, policy);
  EXPECT_TRUE(pruned.error.empty()) << pruned.error;
  EXPECT_EQ(pruned.dropped, 2);  // a, and b's backup event
  EXPECT_EQ(Files(), (std::set<std::string>{b, c, d, "hand-made.ini"}));
  std::vector<std::string> reasons;
  for (const auto& e : history.List())
    reasons.push_back(e.damaged ? "damaged" : std::string(vmx::ReasonWord(e.reason)));
  EXPECT_THAT(reasons, ::testing::ElementsAre("before-import", "backup", "export", "damaged"));
}

TEST_F(HistoryTest, AKilledWriterLeavesOnlyWholeSnapshots) {
  // Each round a child writes snapshots as fast as it can and is killed at
  // some point of a write after its first whole one, however slow this
  // machine is; whatever it left must list and load whole.
  const auto whole = [&] {
    std::error_code e;
    size_t n = 0;
    for (fs::directory_iterator it(folder, e), end; !e && it != end; it.increment(e))
      n += it->path().extension() == ".ini";
    return n;
  };
  for (int round = 0; round < 6; ++round) {
    const size_t before = whole();
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      vmx::SettingsHistory history(folder, "child", [] { return kNow; });
      for (uint8_t k = 0;; ++k) history.Take(Records(k, 127), SnapshotReason::Backup, "b");
    }
    for (int i = 0; i < 3000 && whole() == before; ++i) usleep(5000);
    usleep(static_cast<useconds_t>(round * 7000));
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status));
  }
  vmx::SettingsHistory history = History();
  const std::vector<vmx::SnapshotEntry> list = history.List();
  ASSERT_FALSE(list.empty());
  for (const auto& e : list) {
    EXPECT_FALSE(e.damaged) << e.file << ": " << e.problem;
    EXPECT_TRUE(history.Load(e).doc) << e.file;
  }
  // Files the log never got to name are still listed from their headers.
  std::set<std::string> listed;
  for (const auto& e : list) listed.insert(e.file);
  EXPECT_EQ(listed, Files());
}

TEST_F(HistoryTest, TheSharedRoutinesSnapshotABoundCompleteStore) {
  vmx::SharedStore store;
  store.info.RowCount = 2;
  store.schedule.resize(2);
  store.config.FanLow = 50;
  bool complete = false;
  vmx::BindHistory(store, {root, "tests", [] { return std::string("/dev/ttyTEST0"); },
                           [&] { return complete; }, [this] { return now; }, {}});
  const vmx::IniDocument file = vmx::IniDocument::Parse("[Config]\nFanLow=60\n");
  vmx::ImportConfiguration(file, store);  // incomplete: nothing kept
  complete = true;
  store.config.FanLow = 50;
  vmx::ImportConfiguration(file, store);
  now += 10;
  const std::string exported = root + "/out.ini";
  EXPECT_EQ(vmx::ExportSettings(exported, store), "");
  vmx::UnbindHistory(&store);
  vmx::ImportSchedule(file, store);  // unbound: nothing kept

  const vmx::SettingsHistory history(fs::path(root) / "history" / "vmx5_ttyTEST0", "tests");
  const std::vector<vmx::SnapshotEntry> list = history.List();
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0].reason, SnapshotReason::BeforeImport);
  EXPECT_EQ(history.Load(list[0]).doc->Get("Config", "FanLow"), "50");
  EXPECT_EQ(list[1].reason, SnapshotReason::Export);
  EXPECT_EQ(history.Load(list[1]).doc->Get("Config", "FanLow"), "60");
}

TEST_F(HistoryTest, TheBackupAndTheReefDefaultsKeepSnapshotsOfTheBoardLeft) {
  vmx::SharedStore store;
  store.info.RowCount = 1;
  store.schedule.resize(1);
  vmx::RecordsCompleteness records;
  records.LinkState(true);
  for (auto record : {vmx::RecordKind::Info, vmx::RecordKind::Config, vmx::RecordKind::Schedule,
                      vmx::RecordKind::Expert, vmx::RecordKind::ExpertWeather})
    records.Shown(record, store);
  // The binding names another port: the backup's own port decides the folder.
  vmx::BindHistory(store, {root, "tests", [] { return std::string("/dev/ttyNOW0"); },
                           [&] { return records.Complete(store); }, [this] { return now; }, {}});
  ASSERT_EQ(vmx::WriteBackup(root, "/dev/ttyLEFT0 (USB serial)", store, records, {}),
            vmx::BackupResult::Written);
  vmx::LoadReefDefaults(store);
  vmx::UnbindHistory(&store);
  auto reasons = [&](const char* board) {
    std::vector<std::string> words;
    for (const auto& e : vmx::SettingsHistory(fs::path(root) / "history" / board, "").List())
      words.emplace_back(vmx::ReasonWord(e.reason));
    return words;
  };
  EXPECT_THAT(reasons("vmx5_ttyLEFT0"), ::testing::ElementsAre("backup"));
  EXPECT_THAT(reasons("vmx5_ttyNOW0"), ::testing::ElementsAre("before-reef"));
  EXPECT_TRUE(fs::exists(fs::path(root) / "Backup_ttyLEFT0.ini"));
}

TEST(SettingsSource, NamesABoardAFileOrASnapshot) {
  using K = vmx::SettingsSource::Kind;
  const vmx::testing::TempFolder folder("vmx-source");
  const std::string file = folder / "a@1.ini";
  WriteText(file, "[Config]\n");
  const struct {
    std::string text;
    K kind;
    std::string port, which;
  } cases[] = {
      {"/dev/rfcomm0@3", K::Snapshot, "/dev/rfcomm0", "3"},
      {"ttyUSB0@latest", K::Snapshot, "/dev/ttyUSB0", "latest"},
      {"rfcomm0", K::Board, "/dev/rfcomm0", ""},
      {"rfcomm0@last", K::Board, "/dev/rfcomm0@last", ""},
      {file, K::File, "", ""},
  };
  for (const auto& c : cases) {
    const vmx::SettingsSource s = vmx::ParseSettingsSource(c.text);
    EXPECT_EQ(s.kind, c.kind) << c.text;
    EXPECT_EQ(s.port, c.port) << c.text;
    EXPECT_EQ(s.which, c.which) << c.text;
  }
}

}  // namespace
