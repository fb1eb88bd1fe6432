// Waiting until the worker has nothing left to do.
#pragma once

#include <chrono>
#include <thread>

#include "link/shared_store.h"
#include "sim/sim_board.h"

namespace vmx::testing {

// No request waits and the line has been quiet for 40 ms: a bit is cleared
// when the worker takes it up, before its Set has reached the board.
inline bool WaitLinkIdle(SharedStore& store, const sim::SimBoard& board) {
  using namespace std::chrono_literals;
  size_t lines = board.LineCount();
  int quiet = 0;
  for (int i = 0; i < 2000; ++i) {
    std::this_thread::sleep_for(5ms);
    const size_t now = board.LineCount();
    quiet = store.Requests() == 0 && !store.WritesPending() && now == lines ? quiet + 1 : 0;
    lines = now;
    if (quiet >= 8) return true;
  }
  return false;
}

}  // namespace vmx::testing
