#include "app/command_line.h"

#include <gtest/gtest.h>

namespace vmx {
namespace {

TEST(CommandLine, DevicePathsArePortsAndKeepTheirCase) {
  EXPECT_EQ(ParseCommandLine({"/dev/ttyUSB0"}).portName, "/dev/ttyUSB0");
  EXPECT_EQ(ParseCommandLine({"/dev/serial/by-id/usb-FTDI_A1"}).portName,
            "/dev/serial/by-id/usb-FTDI_A1");
  EXPECT_EQ(ParseCommandLine({"./ttyV0"}).portName, "./ttyV0") << "relative paths stay as given";
}

TEST(CommandLine, BareNamesMeanDevicesUnderDev) {
  EXPECT_EQ(ParseCommandLine({"rfcomm0"}).portName, "/dev/rfcomm0");
  EXPECT_EQ(ParseCommandLine({"ttyACM1"}).portName, "/dev/ttyACM1");
  const CommandLine oneLetter = ParseCommandLine({"x"});
  EXPECT_TRUE(oneLetter.portGiven);
  EXPECT_EQ(oneLetter.portName, "/dev/x");
  EXPECT_EQ(ParseCommandLine({"-"}).portName, "/dev/-") << "too short to be a switch";
}

TEST(CommandLine, SlashWordsWithoutFurtherSlashAreSwitches) {
  const CommandLine line = ParseCommandLine({"/debug", "/Expert"});
  EXPECT_TRUE(line.debug);
  EXPECT_TRUE(line.expert);
  EXPECT_FALSE(line.portGiven);
  EXPECT_TRUE(ParseCommandLine({"-DEBUG"}).debug);
}

TEST(CommandLine, LastLanguageWordWins) {
  EXPECT_EQ(ParseCommandLine({}).language, std::nullopt);
  EXPECT_EQ(ParseCommandLine({"/GERMAN", "/english"}).language, Language::English);
  EXPECT_EQ(ParseCommandLine({"-english", "-German"}).language, Language::German);
}

TEST(CommandLine, LastPortWinsAndUnknownWordsAreIgnored) {
  const CommandLine line = ParseCommandLine({"ttyS0", "-verbose", "/dev/ttyUSB1", "/nothing"});
  EXPECT_EQ(line.portName, "/dev/ttyUSB1");
  EXPECT_FALSE(line.debug);
  EXPECT_FALSE(line.expert);
  EXPECT_EQ(line.language, std::nullopt);
}

TEST(CommandLine, DemoIsItsOwnWord) {
  EXPECT_TRUE(ParseCommandLine({"--demo"}).demo);
  EXPECT_FALSE(ParseCommandLine({"-demo"}).demo);
  EXPECT_FALSE(ParseCommandLine({"--demo"}).portGiven);
}

}  // namespace
}  // namespace vmx
