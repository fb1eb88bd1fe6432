// velmarinex-cli dump --json against the simulated board paced at 115200 baud:
// the Linux tool on the board's pty, and the Windows tool under Wine on a COM
// port that Wine maps to the same pty. Goal: the Windows tool within 1.3 times
// the Linux tool's time, and its link (first byte to last on the line) within
// 1.05 times the line time of the bytes it moved. BM_WineStart is what Wine
// alone costs a program: the same tool printing its --help.
//   build/bin/wine_dump_bench   (after the windows preset has built
//                                build-windows/bin/velmarinex-cli.exe)
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <string>

#include "sim/pty_server.h"
#include "sim/sim_board.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kBaud = 115200;
const std::string kPrefix = std::string(VMX_WINDOWS_BUILD) + "/wine-prefix";

// The board, and the bytes and moments of the traffic since the last Reset.
class Board {
 public:
  Board() : server_(board_, kPrefix + "/dosdevices/com9") {
    server_.SetLineRate(kBaud);
    server_.SetTrafficObserver([this](vmx::sim::PtyServer::Direction, std::string_view bytes) {
      std::lock_guard g(lock_);
      if (bytes_ == 0) first_ = Clock::now();
      last_ = Clock::now();
      bytes_ += bytes.size() + 1;  // the observer is shown lines without their end
    });
    server_.Start();
  }
  std::string Pty() const { return server_.DevicePath(); }
  void Reset() {
    std::lock_guard g(lock_);
    bytes_ = 0;
  }
  // Seconds from the first byte to the last, and the bytes' time on the line.
  std::pair<double, double> LinkAndLine() {
    std::lock_guard g(lock_);
    const double link = std::chrono::duration<double>(last_ - first_).count();
    return {link, static_cast<double>(bytes_) * 10.0 / kBaud};
  }

 private:
  vmx::sim::SimBoard board_{vmx::sim::BoardOptions{}};
  vmx::sim::PtyServer server_;
  std::mutex lock_;
  size_t bytes_ = 0;
  Clock::time_point first_, last_;
};

void Dump(benchmark::State& state, const std::string& command) {
  static Board board;
  double link = 0, line = 0;
  for (auto _ : state) {
    board.Reset();
    const std::string full =
        command + (command.find(".exe") != std::string::npos ? " COM9" : " " + board.Pty()) +
        " --json >/dev/null 2>&1";
    if (std::system(full.c_str()) != 0) {
      state.SkipWithError(("failed: " + full).c_str());
      return;
    }
    const auto [l, t] = board.LinkAndLine();
    link += l;
    line += t;
  }
  const double n = static_cast<double>(state.iterations());
  state.counters["link_s"] = link / n;
  state.counters["line_s"] = line / n;
  state.counters["link_per_line"] = line > 0 ? link / line : 0;
}

void BM_DumpLinux(benchmark::State& state) {
  Dump(state, std::string(VMX_CLI) + " dump");
}

// The Windows tool under Wine, or empty (and the benchmark skipped) without one.
std::string WindowsTool(benchmark::State& state) {
  const std::string exe = std::string(VMX_WINDOWS_BUILD) + "/bin/velmarinex-cli.exe";
  if (std::filesystem::exists(exe)) return std::string(VMX_WINE_RUN) + " " + kPrefix + " " + exe;
  state.SkipWithError("no Windows build: cmake --preset windows && cmake --build --preset windows");
  return {};
}

void BM_DumpWindowsUnderWine(benchmark::State& state) {
  if (const std::string tool = WindowsTool(state); !tool.empty()) Dump(state, tool + " dump");
}

void BM_WineStart(benchmark::State& state) {
  const std::string tool = WindowsTool(state);
  if (tool.empty()) return;
  for (auto _ : state)
    if (std::system((tool + " --help >/dev/null 2>&1").c_str()) != 0) state.SkipWithError("failed");
}

BENCHMARK(BM_DumpLinux)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);
BENCHMARK(BM_DumpWindowsUnderWine)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);
BENCHMARK(BM_WineStart)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);

}  // namespace
