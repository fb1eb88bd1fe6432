#include "tests/support/board_on_pty.h"

namespace vmx::testing {
namespace {

std::unique_ptr<TempFolder> LinkFolder(const PtyOptions& pty) {
  return pty.linkName.empty() ? nullptr : std::make_unique<TempFolder>("vmx-board");
}

}  // namespace

BoardOnPty::BoardOnPty(sim::BoardOptions options, PtyOptions pty)
    : linkFolder_(LinkFolder(pty)),
      board(options),
      server(board, linkFolder_ ? *linkFolder_ / pty.linkName : std::string()) {
  if (pty.hangUpDowntime) server.SetHangUpDowntime(*pty.hangUpDowntime);
  server.Start();
  port = server.PortPath();
}

std::vector<std::string> BoardOnPty::Sets() const {
  std::vector<std::string> out;
  for (const auto& l : board.Lines())
    if (l.size() > 2) out.push_back(l);
  return out;
}

}  // namespace vmx::testing
