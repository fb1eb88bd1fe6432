#include "persist/port_memory.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "persist/memory_preferences.h"

namespace vmx {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class PortMemoryTest : public ::testing::Test {
 protected:
  LogFn Log() {
    return [this](const std::string& line) { log.push_back(line); };
  }
  MemoryPreferences prefs;
  std::vector<std::string> log;
};

TEST_F(PortMemoryTest, SaveWritesAndLogsEvenAnEmptyPort) {
  SavePort(prefs, "/dev/rfcomm0 (rfcomm 00:11:22:AA:BB:CC)", Log());
  EXPECT_TRUE(prefs.exists);
  EXPECT_EQ(prefs.port, "/dev/rfcomm0 (rfcomm 00:11:22:AA:BB:CC)");
  SavePort(prefs, "", Log());
  EXPECT_EQ(prefs.port, "");
  EXPECT_THAT(log, ElementsAre("Written to registry: /dev/rfcomm0 (rfcomm 00:11:22:AA:BB:CC)",
                               "Written to registry: "));
}

TEST_F(PortMemoryTest, RefusedWriteIsSilent) {
  prefs.readOnly = true;
  SavePort(prefs, "/dev/ttyUSB0", Log());
  EXPECT_FALSE(prefs.exists);
  EXPECT_THAT(log, IsEmpty());
}

TEST_F(PortMemoryTest, LoadWithoutKeyLeavesThePortAndSaysNothing) {
  std::string port = "/dev/ttyS3";
  EXPECT_EQ(LoadPort(prefs, port), std::nullopt);
  EXPECT_EQ(port, "/dev/ttyS3");
}

TEST_F(PortMemoryTest, LoadTakesTheValueOrEmptyWhenTheKeyHoldsNone) {
  prefs.exists = true;
  std::string port = "/dev/ttyS3";
  EXPECT_EQ(LoadPort(prefs, port), "Read from registry: ");
  EXPECT_EQ(port, "");
  prefs.port = "/dev/ttyACM0 (Arduino Uno)";
  EXPECT_EQ(LoadPort(prefs, port), "Read from registry: /dev/ttyACM0 (Arduino Uno)");
  EXPECT_EQ(port, "/dev/ttyACM0 (Arduino Uno)");
}

TEST_F(PortMemoryTest, UnreadableValueLeavesThePortUnchanged) {
  prefs.exists = true;
  prefs.unreadable = true;
  std::string port = "/dev/ttyS3";
  EXPECT_EQ(LoadPort(prefs, port), std::nullopt);
  EXPECT_EQ(port, "/dev/ttyS3");
}

TEST_F(PortMemoryTest, ForgetDeletesTheKey) {
  SavePort(prefs, "/dev/ttyUSB0", Log());
  ForgetPort(prefs);
  std::string port;
  EXPECT_EQ(LoadPort(prefs, port), std::nullopt);
  EXPECT_FALSE(prefs.exists);
}

}  // namespace
}  // namespace vmx
