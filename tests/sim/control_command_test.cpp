// The simulated board's console: a sensor set by hand reads back on the line.
#include <gtest/gtest.h>

#include "sim/control_command.h"
#include "sim/pty_server.h"
#include "sim/sim_board.h"

namespace vmx::sim {
namespace {

TEST(ControlCommand, TemperaturesAreSetOrTakenAway) {
  struct Case {
    std::string line, answer;
    int16_t water, board, second;
  };
  const Case cases[] = {
      {"temperature water 263", "temperature water 263", 263, 384, kNoTemperature},
      {"temperature second -55", "temperature second -55", 263, 384, -55},
      {"temperature board 0x1F4", "temperature board 0x1F4", 263, 500, -55},
      {"temperature water none", "temperature water none", kNoTemperature, 500, -55},
      {"temperature second 32767", "temperature: board|water|second TENTHS|none", kNoTemperature, 500, -55},
      {"temperature air 200", "temperature: board|water|second TENTHS|none", kNoTemperature, 500, -55},
      {"temperature water", "unknown command; type help", kNoTemperature, 500, -55},
  };
  SimBoard board({.rows = 2});
  PtyServer server(board);
  for (const Case& c : cases) {
    EXPECT_EQ(RunControlCommand(c.line, board, server), c.answer) << c.line;
    board.With([&](BoardState& s) {
      EXPECT_EQ(s.info.TempWater, c.water) << c.line;
      EXPECT_EQ(s.info.TempBoard, c.board) << c.line;
      EXPECT_EQ(s.info.TempSlave, c.second) << c.line;
    });
  }
}

TEST(ControlCommand, ErrorFlagsAreSet) {
  struct Case {
    std::string line, answer;
    int flags;
  };
  const std::string refused = "errors: FLAGS is 0 to 255";
  const Case cases[] = {{"errors 0x41", "errors 0x41", 0x41}, {"errors 256", refused, 0x41},
                        {"errors -1", refused, 0x41},        {"errors x", refused, 0x41},
                        {"errors 0", "errors 0", 0}};
  SimBoard board({.rows = 2});
  PtyServer server(board);
  for (const Case& c : cases) {
    EXPECT_EQ(RunControlCommand(c.line, board, server), c.answer) << c.line;
    board.With([&](BoardState& s) { EXPECT_EQ(s.info.ErrorFlags, c.flags) << c.line; });
  }
}

}  // namespace
}  // namespace vmx::sim
