// The settings history's goals: a difference of two full schedules well
// under a millisecond, a snapshot adding at most 2 ms to a backup, and a
// history of 1,000 snapshots listed in at most 50 ms.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>

#include "persist/settings_file.h"
#include "persist/settings_history.h"
#include "settings/settings_diff.h"

namespace {

namespace fs = std::filesystem;

vmx::SettingsRecords FullBoard(int seed) {
  vmx::SettingsRecords r;
  r.config.FanLow = static_cast<uint8_t>(seed);
  r.schedule.resize(127);
  for (size_t k = 0; k < r.schedule.size(); ++k) {
    r.schedule[k].Hour = static_cast<int8_t>(k % 24);
    r.schedule[k].Color16[3] = static_cast<int16_t>(k + static_cast<size_t>(seed));
  }
  return r;
}

struct TempFolder {
  TempFolder() {
    char pattern[] = "/tmp/vmx-history-bench-XXXXXX";
    path = mkdtemp(pattern);
  }
  ~TempFolder() { fs::remove_all(path); }
  fs::path path;
};

void BM_DiffOf127Lines(benchmark::State& state) {
  const vmx::SettingsRecords a = FullBoard(1), b = FullBoard(2);
  vmx::DiffOptions options;
  options.rowCount = 127;
  for (auto _ : state) {
    const vmx::SettingsDiff diff =
        vmx::DiffSettings(vmx::ValuesOfRecords(a), vmx::ValuesOfRecords(b), options);
    benchmark::DoNotOptimize(diff.differences.size());
  }
}
BENCHMARK(BM_DiffOf127Lines)->Unit(benchmark::kMicrosecond);

// The backup alone, for comparison with what the snapshot adds.
void BM_Backup(benchmark::State& state) {
  TempFolder folder;
  const std::string path = (folder.path / "Backup_bench.ini").string();
  int seed = 0;
  for (auto _ : state) benchmark::DoNotOptimize(vmx::WriteSettingsFile(path, FullBoard(++seed)));
}
BENCHMARK(BM_Backup)->Unit(benchmark::kMillisecond);

// Arg 1: new settings each time (a file is written); 0: the same (an event only).
void BM_Snapshot(benchmark::State& state) {
  TempFolder folder;
  vmx::SettingsHistory history(folder.path / "vmx5_bench", "bench");
  int seed = 0;
  for (auto _ : state) {
    if (state.range(0)) ++seed;
    benchmark::DoNotOptimize(
        history.Take(FullBoard(seed), vmx::SnapshotReason::Backup, "vmx5_bench"));
  }
}
BENCHMARK(BM_Snapshot)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

void BM_List1000(benchmark::State& state) {
  TempFolder folder;
  int64_t now = 1718971200;
  vmx::SettingsHistory history(folder.path / "vmx5_bench", "bench", [&] { return now; });
  for (int k = 0; k < 1000; ++k, now += 3600)
    history.Take(FullBoard(k), vmx::SnapshotReason::Backup, "vmx5_bench");
  for (auto _ : state) benchmark::DoNotOptimize(history.List().size());
}
BENCHMARK(BM_List1000)->Unit(benchmark::kMillisecond);

}  // namespace
