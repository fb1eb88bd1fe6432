// The worker decodes an Info every half second and the settings file walks the
// field tables; both must stay far below a millisecond.
#include <benchmark/benchmark.h>

#include "link/records.h"

namespace {

void BM_DecodeInfo(benchmark::State& state) {
  vmx::Image<vmx::Info> image{};
  for (size_t i = 0; i < image.size(); ++i) image[i] = static_cast<uint8_t>(i * 7);
  for (auto _ : state) benchmark::DoNotOptimize(vmx::Decode<vmx::Info>(image));
}
BENCHMARK(BM_DecodeInfo);

void BM_EncodeExpert(benchmark::State& state) {
  vmx::Expert e;
  e.TempWaterHigh = 265;
  for (auto _ : state) benchmark::DoNotOptimize(vmx::Encode(e));
}
BENCHMARK(BM_EncodeExpert);

void BM_FindFieldByName(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(vmx::ExpertWeather::Fields().Find("weatherdelay11"));
}
BENCHMARK(BM_FindFieldByName);

}  // namespace
