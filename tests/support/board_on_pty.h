// The simulated board served on a real pty, as a board on a serial line: the
// one every test against the wire stands on. Faults go to `board`
// (InjectFault, SetIdentity) and to `server` (HangUp).
#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "sim/pty_server.h"
#include "sim/sim_board.h"
#include "tests/support/temp_folder.h"

namespace vmx::testing {

struct PtyOptions {
  // Also reachable under this name, in a folder of its own, across hang-ups.
  std::string linkName{};
  std::optional<std::chrono::milliseconds> hangUpDowntime{};  // else the server's own
};

class BoardOnPty {
 public:
  explicit BoardOnPty(sim::BoardOptions options = {}, PtyOptions pty = {});

  // The lines the board received that carry a payload: what the PC changed.
  std::vector<std::string> Sets() const;
  template <class F>
  auto OnBoard(F f) {
    return board.With(f);
  }

 private:
  std::unique_ptr<TempFolder> linkFolder_;  // before the server, which keeps its link there

 public:
  sim::SimBoard board;
  sim::PtyServer server;
  std::string port;  // what a client opens: the link when there is one
};

}  // namespace vmx::testing
