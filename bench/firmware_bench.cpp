// A firmware update of 31 KiB (the whole application flash of the board) by the
// real worker against the simulated bootloader paced at 115200 baud: the time
// from GetBootInfo to the result, against the time its bytes need on the line.
// Goal: within 1.05 times the line time. The worker's own processor time is
// counted too: on a busy machine the pty's hand-overs between threads, not the
// program, make up most of what lies beyond the line time.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <time.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <functional>
#include <mutex>

#include "link/inline_link_host.h"
#include "link/shared_store.h"
#include "link/thd_com.h"
#include "sim/pty_server.h"
#include "sim/sim_board.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kBaud = 115200;
constexpr int32_t kLast = 31 * 1024 - 1;

// The image file, written once.
class ImageFile {
 public:
  ImageFile() {
    char dir[] = "/tmp/vmx-bench-XXXXXX";
    dir_ = mkdtemp(dir) ? dir : "/tmp";
    path_ = dir_ + "/Velmarinex2x4.vxh";
    std::vector<uint8_t> out;
    auto put = [&](uint32_t v) {
      for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
    };
    put(0);
    put(kLast);
    uint32_t sum = kLast;
    for (int32_t a = 0; a <= kLast; ++a) {
      const auto b = static_cast<uint8_t>(a * 31 + (a >> 7));
      out.push_back(b);
      sum += b;
    }
    put(sum);
    if (std::FILE* f = std::fopen(path_.c_str(), "wb")) {
      std::fwrite(out.data(), 1, out.size(), f);
      std::fclose(f);
    }
  }
  ~ImageFile() {
    std::remove(path_.c_str());
    rmdir(dir_.c_str());
  }
  const std::string& path() const { return path_; }

 private:
  std::string dir_, path_;
};

double ThreadCpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

class BenchHost final : public vmx::InlineLinkHost {
 public:
  BenchHost(std::string file, std::function<void()> finished)
      : file_(std::move(file)), onFinished_(std::move(finished)) {}
  // Both run on the worker's thread.
  std::string ChooseFirmwareFile() override {
    cpuAtStart_ = ThreadCpuSeconds();
    return file_;
  }
  void FirmwareFinished(const vmx::FirmwareResult& r) override {
    onFinished_();
    workerCpu_ = ThreadCpuSeconds() - cpuAtStart_;
    {
      std::lock_guard g(lock_);
      finished_ = Clock::now();
      outcome_ = r.outcome;
      done_ = true;
    }
    cv_.notify_all();
  }
  double WorkerCpuSeconds() {
    std::lock_guard g(lock_);
    return workerCpu_;
  }
  bool Wait(Clock::time_point& at, vmx::FirmwareOutcome& outcome) {
    std::unique_lock g(lock_);
    if (!cv_.wait_for(g, std::chrono::seconds(60), [&] { return done_; })) return false;
    at = finished_;
    outcome = outcome_;
    return true;
  }

 private:
  std::string file_;
  std::function<void()> onFinished_;
  std::mutex lock_;
  std::condition_variable cv_;
  bool done_ = false;
  Clock::time_point finished_;
  vmx::FirmwareOutcome outcome_{};
  double cpuAtStart_ = 0, workerCpu_ = 0;
};

void BM_FirmwareUpdate31KiB(benchmark::State& state) {
  const ImageFile image;
  double ratios = 0, lineSeconds = 0, bytes = 0, cpu = 0;
  int runs = 0;
  for (auto _ : state) {
    vmx::sim::SimBoard board({.rows = 2, .inBootloader = true});
    vmx::sim::PtyServer server(board);
    server.SetLineRate(kBaud);
    std::mutex trafficLock;
    bool counting = false;
    size_t onLine = 0;
    Clock::time_point started;
    server.SetTrafficObserver([&](vmx::sim::PtyServer::Direction d, std::string_view b) {
      std::lock_guard g(trafficLock);
      const bool in = d == vmx::sim::PtyServer::Direction::In;
      if (in && b == "81" && onLine == 0) {
        counting = true;
        started = Clock::now();
      }
      if (counting) onLine += b.size() + (in ? 1 : 0);  // the PC's lines lose their terminator
    });
    server.Start();
    vmx::SharedStore store;
    // What goes over the line after the result is not part of the update.
    BenchHost host(image.path(), [&] {
      std::lock_guard g(trafficLock);
      counting = false;
    });
    auto worker = vmx::TthdCom::Create(server.PortPath(), false, store, host);
    Clock::time_point finished;
    vmx::FirmwareOutcome outcome{};
    if (!host.Wait(finished, outcome) || outcome != vmx::FirmwareOutcome::Updated) {
      state.SkipWithError("the update did not succeed");
      break;
    }
    host.ShutDown();
    worker.reset();
    std::lock_guard g(trafficLock);
    const double seconds = std::chrono::duration<double>(finished - started).count();
    state.SetIterationTime(seconds);
    bytes = static_cast<double>(onLine);
    lineSeconds = bytes * 10.0 / kBaud;
    ratios += seconds / lineSeconds;
    cpu += host.WorkerCpuSeconds();
    ++runs;
  }
  state.counters["line_bytes"] = bytes;
  state.counters["line_s"] = lineSeconds;
  state.counters["x_line_time"] = runs ? ratios / runs : 0;
  state.counters["worker_cpu_s"] = runs ? cpu / runs : 0;
}
BENCHMARK(BM_FirmwareUpdate31KiB)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
