// The simulator's console commands, typed on its standard input while it serves.
#pragma once

#include <string>
#include <string_view>

#include "sim/pty_server.h"
#include "sim/sim_board.h"

namespace vmx::sim {

// Runs one command line; returns the answer to print.
std::string RunControlCommand(std::string_view line, SimBoard& board, PtyServer& server);

extern const char* const kControlHelp;

}  // namespace vmx::sim
