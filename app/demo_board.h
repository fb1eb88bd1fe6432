// The simulated board inside the program, on a pseudo-terminal of its own,
// so that the program can be tried without hardware.
#pragma once

#include <string>

#include "sim/pty_server.h"
#include "sim/sim_board.h"

namespace vmx {

class DemoBoard {
 public:
  DemoBoard();
  // Throws std::runtime_error when no pseudo-terminal can be had.
  void Start();
  // The device the program connects to.
  std::string PortPath() const { return server_.PortPath(); }

 private:
  sim::SimBoard board_;
  sim::PtyServer server_;
};

}  // namespace vmx
