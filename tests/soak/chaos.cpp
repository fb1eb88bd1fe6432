#include "tests/soak/chaos.h"

namespace vmx::soak {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// Identities a line may show for a while: an older firmware, the board in its
// bootloader, and other hardware (which makes the worker give up).
constexpr std::pair<uint8_t, uint8_t> kIdentities[] = {{5, 3}, {4, 4}, {7, 1}, {12, 0}};

}  // namespace

Chaos::Chaos(sim::SimBoard& board, sim::PtyServer& server, uint32_t seed, milliseconds timeout)
    : board_(board), server_(server), rng_(seed), timeout_(timeout) {}

Chaos::~Chaos() {
  Stop();
}

void Chaos::Start() {
  if (thread_.joinable()) return;
  stop_ = false;
  thread_ = std::thread([this] { Run(); });
}

void Chaos::Stop() {
  {
    std::lock_guard g(lock_);
    stop_ = true;
  }
  wake_.notify_all();
  if (thread_.joinable()) thread_.join();
  board_.ClearFaults();
  board_.SetIdentity(5, 4);
  identityChanged_ = false;
}

std::map<std::string, uint64_t> Chaos::Counts() {
  std::lock_guard g(lock_);
  return counts_;
}

void Chaos::Count(const std::string& what) {
  std::lock_guard g(lock_);
  ++counts_[what];
}

void Chaos::Run() {
  std::unique_lock g(lock_);
  while (!stop_) {
    const milliseconds pause(std::uniform_int_distribution<int>(300, 3000)(rng_));
    if (wake_.wait_for(g, pause, [this] { return stop_.load(); })) break;
    g.unlock();
    if (identityChanged_ && Clock::now() >= identityBack_) {
      board_.SetIdentity(5, 4);
      identityChanged_ = false;
    }
    Strike();
    g.lock();
  }
}

void Chaos::Strike() {
  auto between = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); };
  // Faults on the next few replies, to any command or to one kind of command.
  static constexpr sim::Fault kFaults[] = {
      sim::Fault::Silence,   sim::Fault::ShortReply, sim::Fault::WrongEcho, sim::Fault::InvalidHex,
      sim::Fault::LowerCase, sim::Fault::CrLf,       sim::Fault::ZeroAck,   sim::Fault::Delay,
      sim::Fault::HangUp,    sim::Fault::Lost};
  static constexpr const char* kCommands[] = {"", "", "", "8", "0", "80", "81", "83", "02", "03"};
  const int what = between(0, 99);
  // Mostly faults the worker rides out on the same connection; now and then
  // one that makes it start over.
  if (what < 88) {
    const sim::Fault fault = kFaults[between(0, std::size(kFaults) - 1)];
    const int count = between(1, 3);
    const std::string command = kCommands[between(0, std::size(kCommands) - 1)];
    // Some delays stay within the timeout, some run past it.
    const milliseconds delay(between(10, static_cast<int>(timeout_.count() * 3 / 2)));
    if (fault == sim::Fault::HangUp) server_.SetHangUpDowntime(milliseconds(between(100, 2500)));
    board_.InjectFault(fault, count, command, delay);
    Count(std::string(sim::FaultName(fault)));
  } else if (what < 95) {
    server_.HangUp(milliseconds(between(100, 2500)));
    Count("hang-up and return");
  } else if (!identityChanged_) {
    const auto [type, version] = kIdentities[between(0, std::size(kIdentities) - 1)];
    board_.SetIdentity(type, version);
    identityChanged_ = true;
    identityBack_ = Clock::now() + milliseconds(between(500, 3000));
    Count("identity " + std::to_string(type) + "." + std::to_string(version));
  }
}

}  // namespace vmx::soak
