// The backup is written on the UI thread whenever the program lets go of a
// board, also while the window closes: a board with the most schedule rows
// must be written, merged and read back in well under a frame.
#include <benchmark/benchmark.h>

#include "persist/settings_file.h"

namespace {

vmx::SettingsRecords FullBoard() {
  vmx::SettingsRecords r;
  r.config.FanLow = 77;
  r.schedule.resize(127);
  for (size_t k = 0; k < r.schedule.size(); ++k) r.schedule[k].Color16[3] = static_cast<int16_t>(k);
  return r;
}

void BM_WriteNewFile(benchmark::State& state) {
  const vmx::SettingsRecords records = FullBoard();
  for (auto _ : state) {
    vmx::IniDocument doc;
    vmx::PutSettings(doc, records);
    benchmark::DoNotOptimize(doc.Text());
  }
}
BENCHMARK(BM_WriteNewFile)->Unit(benchmark::kMicrosecond);

void BM_MergeIntoBackup(benchmark::State& state) {
  const vmx::SettingsRecords records = FullBoard();
  vmx::IniDocument old;
  vmx::PutSettings(old, records);
  const std::string text = old.Text();
  for (auto _ : state) {
    vmx::IniDocument doc = vmx::IniDocument::Parse(text);
    vmx::PutSettings(doc, records);
    benchmark::DoNotOptimize(doc.Text());
  }
}
BENCHMARK(BM_MergeIntoBackup)->Unit(benchmark::kMicrosecond);

void BM_ReadBack(benchmark::State& state) {
  vmx::SettingsRecords records = FullBoard();
  vmx::IniDocument written;
  vmx::PutSettings(written, records);
  const vmx::IniDocument doc = vmx::IniDocument::Parse(written.Text());
  for (auto _ : state) {
    benchmark::DoNotOptimize(vmx::ReadConfiguration(doc, records));
    benchmark::DoNotOptimize(vmx::ReadSchedule(doc, records));
  }
}
BENCHMARK(BM_ReadBack)->Unit(benchmark::kMicrosecond);

}  // namespace
