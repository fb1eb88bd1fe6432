// The monitor as a user runs it: the simulated board program on a pty, the
// monitor program on that pty, a signal to end it.
#include <gtest/gtest.h>
#include <signal.h>

#include <string>

#include "tests/support/program.h"

namespace {

using vmx::testing::Program;

TEST(Monitor, WatchesTheSimulatedBoardAndEndsCleanlyOnASignal) {
  Program sim({VMX_SIM_PROGRAM, "--quiet", "--rows", "3"});
  ASSERT_TRUE(sim.Running());
  std::string port = sim.ReadUntil("/");
  ASSERT_FALSE(port.empty());
  port.pop_back();  // the line feed

  Program monitor({VMX_CLI_PROGRAM, "monitor", port, "-debug"});
  ASSERT_TRUE(monitor.Running());
  EXPECT_NE(monitor.ReadUntil("Connecting to " + port + "..."), "");
  const std::string connected = monitor.ReadUntil("Connected to Velmarinex 2.x.4 on " + port);
  ASSERT_NE(connected, "");
  EXPECT_EQ(connected.front(), '[') << "every line carries its stamp";
  EXPECT_NE(monitor.ReadUntil("OUT: \"86\""), "") << "the first full read, traced";
  EXPECT_NE(monitor.ReadUntil("OUT: \"82\""), "") << "the periodic refresh";
  EXPECT_EQ(monitor.Stop(SIGINT), 0);
  EXPECT_NE(monitor.out.find("Connected to " + port), std::string::npos);
  EXPECT_NE(monitor.ReadUntil("Disconnected from " + port), "");
}

TEST(Monitor, AMissingPortEndsTheWorkerAndFails) {
  // A bare name means that device under /dev, as in the window.
  Program monitor({VMX_CLI_PROGRAM, "monitor", "vmx-none", "-debug"});
  // Five openings a second apart.
  EXPECT_NE(monitor.ReadUntil("Error while connecting to /dev/vmx-none"), "");
  EXPECT_NE(monitor.ReadUntil("Disconnected from /dev/vmx-none"), "");
  EXPECT_EQ(monitor.Stop(0), 1);
}

}  // namespace
