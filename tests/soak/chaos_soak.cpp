// chaos_soak [--seconds N] [--seed S] [--rows R]: the real link worker and
// store against the simulated board on a real pty. Rounds of up to 50 s of
// random edits of every record and schedule row while the board injects
// random faults, each followed by a quiet spell in which the board and the PC
// must agree within 10 s with no edit lost. Exit 0 only when every round did.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "link/request_flags.h"
#include "link/thd_com.h"
#include "tests/soak/chaos.h"
#include "tests/soak/edit_model.h"
#include "tests/soak/soak_host.h"
#include "tests/support/board_on_pty.h"

namespace vmx::soak {
namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr auto kAgreeWithin = 10s;
constexpr auto kLongestRound = 50s;
constexpr uint32_t kWrites = request::WriteInfoTime | request::WriteInfoChannels |
                             request::WriteConfig | request::WriteSchedule | request::WriteExpert |
                             request::WriteWeather;

// The worker's own pass and refresh; shorter line timeouts, so that a fault
// costs a second or two rather than half a minute and a round sees many.
LinkTiming SoakTiming() {
  LinkTiming t;
  t.serialTimeout = 400ms;
  t.terminationCheck = 50ms;
  return t;
}

struct Options {
  double seconds = 60;
  uint32_t seed = 0;
  int rows = 16;
};

bool ParseOptions(int argc, char** argv, Options& o) {
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string a = argv[i];
    char* end = nullptr;
    const double v = std::strtod(argv[i + 1], &end);
    if (*end != 0 || v < 0) return false;
    if (a == "--seconds")
      o.seconds = v;
    else if (a == "--seed")
      o.seed = static_cast<uint32_t>(v);
    else if (a == "--rows" && v >= 1 && v <= 127)
      o.rows = static_cast<int>(v);
    else
      return false;
  }
  return argc % 2 == 1;
}

Records BoardRecords(sim::SimBoard& board) {
  return board.With([](sim::BoardState& s) {
    Records r;
    r.channels = s.info.Channel;
    r.config = s.config;
    r.expert = s.expert;
    r.weather = s.weather;
    r.schedule = s.schedule;
    return r;
  });
}

class Soak {
 public:
  explicit Soak(const Options& o)
      : options_(o),
        line_({.rows = o.rows}, {.linkName = "board"}),
        chaos_(line_.board, line_.server, o.seed + 1, SoakTiming().serialTimeout),
        rng_(o.seed) {}

  ~Soak() {
    host_.ShutDown();
    worker_.reset();
  }

  int Run();

 private:
  void StartWorker();
  void KeepWorkerRunning();
  // `channels`: compare the channels too (the board is in Manual).
  bool Settle(double& seconds, std::string& why, bool channels = true);
  void EditFor(Clock::duration length);

  Options options_;
  testing::BoardOnPty line_;  // under a link of its own, found again after hang-ups
  Chaos chaos_;
  SharedStore store_;
  SoakHost host_;
  EditModel model_;
  std::mt19937 rng_;
  std::unique_ptr<TthdCom> worker_;
  uint64_t restarts_ = 0;
  Clock::time_point nextRestart_{};
  uint64_t edits_[EditModel::KindCount] = {};
};

void Soak::StartWorker() {
  worker_.reset();
  worker_ = TthdCom::Create(line_.port, false, store_, host_, SoakTiming());
}

// A worker that gave up (other hardware, no port) is started again, as the
// user would reconnect.
void Soak::KeepWorkerRunning() {
  if (!worker_ || !worker_->LinkClosed()) return;
  if (Clock::now() < nextRestart_) return;
  ++restarts_;
  nextRestart_ = Clock::now() + 1s;
  StartWorker();
}

void Soak::EditFor(Clock::duration length) {
  const auto end = Clock::now() + length;
  auto nextEdit = Clock::now();
  while (Clock::now() < end) {
    KeepWorkerRunning();
    if (Clock::now() >= nextEdit) {
      host_.RunOnUi([&] { ++edits_[model_.EditOnce(store_, rng_, host_.Resets())]; });
      // Bursts of edits as a user drags and types, then a pause, so that the
      // last edit of a field often travels alone when a fault strikes.
      const bool pause = std::uniform_int_distribution<int>(0, 7)(rng_) == 0;
      nextEdit = Clock::now() + std::chrono::milliseconds(
                                    pause ? std::uniform_int_distribution<int>(200, 2500)(rng_)
                                          : std::uniform_int_distribution<int>(5, 60)(rng_));
    }
    std::this_thread::sleep_for(std::min<Clock::duration>(nextEdit - Clock::now(), 100ms));
  }
}

// Faults have stopped: waits until nothing is left to write and both sides
// hold the same records.
bool Soak::Settle(double& seconds, std::string& why, bool channels) {
  const auto start = Clock::now();
  while (Clock::now() - start < kAgreeWithin) {
    KeepWorkerRunning();
    Records pc;
    uint32_t pending = 0;
    bool connected = false;
    host_.RunOnUi([&] {
      pc = PcRecords(store_);
      connected = host_.Connected();
      pending = store_.Requests() & kWrites;
    });
    Records board = BoardRecords(line_.board);
    if (!channels) board.channels = pc.channels;
    why = !connected ? "not connected" : pending ? "writes pending" : FirstDifference(pc, board);
    if (why.empty()) {
      seconds = std::chrono::duration<double>(Clock::now() - start).count();
      return true;
    }
    std::this_thread::sleep_for(50ms);
  }
  return false;
}

int Soak::Run() {
  StartWorker();
  // The board starts in Auto, where its channels follow the schedule; the
  // soak sets channels by hand, so it puts the board in Manual first.
  double took = 0;
  std::string why;
  if (!Settle(took, why, false)) {
    std::fprintf(stderr, "chaos soak: no first connection: %s\n", why.c_str());
    return 1;
  }
  host_.RunOnUi([&] {
    store_.config.Mode = 0;
    store_.Raise(request::WriteConfig);
  });
  if (!Settle(took, why)) {
    std::fprintf(stderr, "chaos soak: board not in Manual: %s\n", why.c_str());
    return 1;
  }

  const auto end = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                      std::chrono::duration<double>(options_.seconds));
  int rounds = 0, failures = 0;
  size_t kept = 0, reverted = 0, lost = 0;
  std::vector<double> settle;
  do {
    const auto left = end - Clock::now() - kAgreeWithin;
    const auto length = std::clamp<Clock::duration>(left, 5s, kLongestRound);
    ++rounds;
    chaos_.Start();
    EditFor(length);
    chaos_.Stop();
    double seconds = 0;
    const bool agreed = Settle(seconds, why);
    if (agreed) settle.push_back(seconds);
    uint64_t resets = 0;
    host_.RunOnUi([&] { resets = host_.Resets(); });
    const auto verdict = model_.Judge(BoardRecords(line_.board), resets);
    kept += verdict.kept;
    reverted += verdict.reverted;
    lost += verdict.lost;
    if (!agreed || verdict.lost) {
      ++failures;
      std::printf("round %d: %s%s\n", rounds,
                  agreed ? "" : "no agreement within 10 s: ", agreed ? "" : why.c_str());
      for (const auto& f : verdict.lostFields) std::printf("  lost: %s\n", f.c_str());
      for (const auto& l : host_.RecentLines()) std::printf("  | %s\n", l.c_str());
    }
  } while (Clock::now() + kAgreeWithin + 5s <= end);

  std::printf("chaos soak: %d rounds in %.0f s, seed %u, %d schedule rows\n", rounds,
              options_.seconds, options_.seed, options_.rows);
  std::printf("  edits:");
  for (int k = 0; k < EditModel::KindCount; ++k)
    std::printf(" %s %llu", KindName(static_cast<EditModel::Kind>(k)),
                static_cast<unsigned long long>(edits_[k]));
  std::printf("\n  faults:");
  for (const auto& [name, n] : chaos_.Counts())
    std::printf(" %s %llu,", name.c_str(), static_cast<unsigned long long>(n));
  std::printf(" worker restarts %llu\n", static_cast<unsigned long long>(restarts_));
  std::sort(settle.begin(), settle.end());
  std::printf(
      "  agreement after the faults stopped: %zu of %d rounds, median %.2f s, worst %.2f s\n",
      settle.size(), rounds, settle.empty() ? 0.0 : settle[settle.size() / 2],
      settle.empty() ? 0.0 : settle.back());
  std::printf("  edited fields: %zu on the board, %zu given up at a new connection, %zu lost\n",
              kept, reverted, lost);
  std::printf("%d passed, %d failed\n", rounds - failures, failures);
  return failures ? 1 : 0;
}

}  // namespace
}  // namespace vmx::soak

int main(int argc, char** argv) {
  vmx::soak::Options options;
  options.seed = static_cast<uint32_t>(std::random_device{}());
  if (!vmx::soak::ParseOptions(argc, argv, options)) {
    std::fprintf(stderr, "usage: chaos_soak [--seconds N] [--seed S] [--rows R]\n");
    return 2;
  }
  std::setvbuf(stdout, nullptr, _IOLBF, 0);
  // A hang anywhere, the end included, fails the soak instead of stalling CI.
  std::thread([limit = options.seconds + 120] {
    std::this_thread::sleep_for(std::chrono::duration<double>(limit));
    std::fprintf(stderr, "chaos soak: hung, %0.f s past its end\n", 120.0);
    std::_Exit(3);
  }).detach();
  return vmx::soak::Soak(options).Run();
}
