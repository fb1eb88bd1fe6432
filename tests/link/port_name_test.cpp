// Port names the same way in every program: bare names, explicit paths with
// blanks, port-list entries, and runaway arguments in messages.
#include "link/port_name.h"

#include <gtest/gtest.h>

#include <fstream>

#include "tests/support/temp_folder.h"

namespace vmx {
namespace {

TEST(PortName, ABareNameMeansTheDeviceUnderDev) {
  EXPECT_EQ(PortFromArgument("ttyUSB0"), "/dev/ttyUSB0");
  EXPECT_EQ(PortFromArgument("rfcomm0"), "/dev/rfcomm0");
  EXPECT_EQ(PortFromArgument("/dev/ttyS1"), "/dev/ttyS1");
  EXPECT_EQ(PortFromArgument("pts/3"), "pts/3") << "a relative path stays a path";
  EXPECT_EQ(PortFromArgument("/tmp/My Board"), "/tmp/My Board") << "case and blanks kept";
}

TEST(PortName, OnlyAPortListEntryLosesItsDescription) {
  EXPECT_EQ(PortOfText("/dev/ttyUSB0 (FT232R USB UART)"), "/dev/ttyUSB0");
  EXPECT_EQ(PortOfText("/dev/rfcomm0 (Bluetooth)"), "/dev/rfcomm0");
  EXPECT_EQ(PortOfText("/tmp/board link/pty"), "/tmp/board link/pty");
  EXPECT_EQ(PortOfText("/tmp/board (spare"), "/tmp/board (spare");
  EXPECT_EQ(PortOfText("/dev/ttyS0"), "/dev/ttyS0");

  // A device whose very name looks like an entry is still itself.
  const testing::TempFolder dir("port_name_test");
  const std::string odd = dir / "board (kitchen)";
  std::ofstream(odd) << "";
  EXPECT_EQ(PortOfText(odd), odd);
}

TEST(PortName, OverlongTextIsShortenedKeepingBothEnds) {
  EXPECT_EQ(ShortForMessage("/dev/ttyUSB0"), "/dev/ttyUSB0");
  const std::string runaway = "/dev/" + std::string(5000, 'x') + "tail";
  const std::string shown = ShortForMessage(runaway);
  EXPECT_LE(shown.size(), 160u);
  EXPECT_TRUE(shown.starts_with("/dev/xxx"));
  EXPECT_TRUE(shown.ends_with("xxtail"));
  EXPECT_NE(shown.find("\u2026"), std::string::npos);

  // Two-byte characters are kept whole on both sides of the cut.
  std::string umlauts;
  for (int i = 0; i < 400; ++i) umlauts += "\u00e4";
  const std::string cut = ShortForMessage(umlauts, 101);
  const size_t ellipsis = cut.find("\u2026");
  ASSERT_NE(ellipsis, std::string::npos);
  EXPECT_EQ(ellipsis % 2, 0u);
  EXPECT_EQ((cut.size() - ellipsis - 3) % 2, 0u);
  EXPECT_EQ(static_cast<unsigned char>(cut[ellipsis + 3]), 0xC3u);
}

}  // namespace
}  // namespace vmx
