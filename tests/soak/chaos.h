// What goes wrong on the line during a soak: every few seconds one of the
// board's faults, a hang-up with a return, or another identity for a while.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <map>
#include <mutex>
#include <random>
#include <string>
#include <thread>

#include "sim/pty_server.h"
#include "sim/sim_board.h"

namespace vmx::soak {

class Chaos {
 public:
  Chaos(sim::SimBoard& board, sim::PtyServer& server, uint32_t seed,
        std::chrono::milliseconds serialTimeout);
  ~Chaos();

  void Start();
  // Stops injecting, drops pending faults and gives the board its own identity
  // back; a device that hung up comes back by itself.
  void Stop();

  // How many of each event were made, by name.
  std::map<std::string, uint64_t> Counts();

 private:
  void Run();
  void Strike();
  void Count(const std::string& what);

  sim::SimBoard& board_;
  sim::PtyServer& server_;
  std::mt19937 rng_;
  std::chrono::milliseconds timeout_;
  std::atomic<bool> stop_{true};
  std::mutex lock_;
  std::condition_variable wake_;
  std::map<std::string, uint64_t> counts_;
  std::chrono::steady_clock::time_point identityBack_{};
  bool identityChanged_ = false;
  std::thread thread_;
};

}  // namespace vmx::soak
