// The link worker against the simulated board on a real pty:
// - EditToWire: from raising a write bit to its Set arriving on the pty,
//   with the worker's own timing (pass, periodic refresh, 5 s timeouts);
// - ConnectToAllRecords: from the first GetDevice to the end of the initial
//   read of a board with 32 rows, the board paced at 115200 baud, against the
//   time its bytes need on such a line.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "link/request_flags.h"
#include "link/thd_com.h"
#include "sim/pty_server.h"
#include "sim/sim_board.h"
#include "tests/soak/soak_host.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;
using vmx::sim::PtyServer;

// When lines reach the board and replies leave it.
class Traffic {
 public:
  void Seen(PtyServer::Direction d, std::string_view bytes) {
    std::lock_guard g(lock_);
    events_.push_back({Clock::now(), d, std::string(bytes)});
    cv_.notify_all();
  }
  struct Event {
    Clock::time_point at;
    PtyServer::Direction direction;
    std::string bytes;
  };
  // The first line in after `from` that starts with `prefix`.
  bool WaitLine(const std::string& prefix, size_t from, Clock::time_point& at) {
    std::unique_lock g(lock_);
    return cv_.wait_for(g, 10s, [&] {
      for (size_t i = from; i < events_.size(); ++i)
        if (events_[i].direction == PtyServer::Direction::In &&
            events_[i].bytes.starts_with(prefix))
          return at = events_[i].at, true;
      return false;
    });
  }
  size_t Size() {
    std::lock_guard g(lock_);
    return events_.size();
  }
  std::vector<Event> Events() {
    std::lock_guard g(lock_);
    return events_;
  }

 private:
  std::mutex lock_;
  std::condition_variable cv_;
  std::vector<Event> events_;
};

bool WaitIdle(vmx::SharedStore& store) {
  for (int i = 0; i < 1000; ++i) {
    if (store.Requests() == 0) return true;
    std::this_thread::sleep_for(10ms);
  }
  return false;
}

double Percentile(std::vector<double> v, double p) {
  std::sort(v.begin(), v.end());
  return v[std::min(v.size() - 1, static_cast<size_t>(p * static_cast<double>(v.size())))];
}

void EditToWire(benchmark::State& state) {
  vmx::sim::SimBoard board({.rows = 12});
  PtyServer server(board);
  Traffic traffic;
  server.SetTrafficObserver([&](auto d, auto bytes) { traffic.Seen(d, bytes); });
  server.Start();
  vmx::SharedStore store;
  vmx::soak::SoakHost host;
  auto worker = vmx::TthdCom::Create(server.PortPath(), false, store, host);
  if (!WaitIdle(store)) return state.SkipWithError("no connection");

  std::mt19937 rng(1);
  std::vector<double> ms;
  uint8_t value = 0;
  for (auto _ : state) {
    // Edits come at any moment, now and then while a periodic read is on the line.
    std::this_thread::sleep_for(
        std::chrono::milliseconds(std::uniform_int_distribution(20, 150)(rng)));
    const size_t from = traffic.Size();
    Clock::time_point raised, arrived;
    host.RunOnUi([&] {
      store.expert.RandomInit = ++value;
      raised = Clock::now();
      store.Raise(vmx::request::WriteExpert);
    });
    if (!traffic.WaitLine("05", from, arrived)) return state.SkipWithError("no SetExpert");
    const double seconds = std::chrono::duration<double>(arrived - raised).count();
    state.SetIterationTime(seconds);
    ms.push_back(seconds * 1000);
  }
  state.counters["median_ms"] = Percentile(ms, 0.5);
  state.counters["p99_ms"] = Percentile(ms, 0.99);
  host.ShutDown();
}
BENCHMARK(EditToWire)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(300);

void ConnectToAllRecords(benchmark::State& state) {
  constexpr int kBaud = 115200;
  std::vector<double> ratios, turns;
  for (auto _ : state) {
    vmx::sim::SimBoard board({.rows = 32});
    PtyServer server(board);
    server.SetLineRate(kBaud);
    Traffic traffic;
    server.SetTrafficObserver([&](auto d, auto bytes) { traffic.Seen(d, bytes); });
    server.Start();
    vmx::SharedStore store;
    vmx::soak::SoakHost host;
    auto worker = vmx::TthdCom::Create(server.PortPath(), false, store, host);
    Clock::time_point end;
    // The initial read ends with GetExpertWeather; its reply closes it.
    if (!traffic.WaitLine("86", 0, end)) return state.SkipWithError("no initial read");
    std::this_thread::sleep_for(50ms);
    host.ShutDown();
    worker.reset();
    server.Stop();

    const auto events = traffic.Events();
    Clock::time_point start{}, last{};
    double pcTurns = 0;  // from a reply leaving the board to the next line arriving
    size_t bytes = 0;
    bool reading = false, done = false;
    for (const auto& e : events) {
      if (!reading && e.direction == PtyServer::Direction::In && e.bytes == "80") {
        reading = true;
        start = e.at;
      }
      if (!reading || done) continue;
      bytes += e.bytes.size() + (e.direction == PtyServer::Direction::In ? 1 : 0);
      if (e.direction == PtyServer::Direction::In && last != Clock::time_point{})
        pcTurns += std::chrono::duration<double>(e.at - last).count();
      if (e.direction == PtyServer::Direction::Out) last = e.at;
      if (e.direction == PtyServer::Direction::Out && e.bytes.starts_with("86")) done = true;
    }
    if (!done) return state.SkipWithError("initial read not seen");
    // The first line's own bytes were on the line before it arrived.
    const double line = static_cast<double>(bytes) * 10 / kBaud;
    const double took = std::chrono::duration<double>(last - start).count() + 3.0 * 10 / kBaud;
    state.SetIterationTime(took);
    ratios.push_back(took / line);
    state.counters["line_ms"] = line * 1000;
    state.counters["bytes"] = static_cast<double>(bytes);
    turns.push_back(pcTurns * 1000);
  }
  // The whole, and the PC's own part: its turns between a reply and the next line.
  state.counters["x_line_time"] = Percentile(ratios, 0.5);
  state.counters["pc_turns_ms"] = Percentile(turns, 0.5);
}
BENCHMARK(ConnectToAllRecords)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
