// --help of every program, as a user without a display runs it: the options
// on standard output, exit code 0, nothing else started.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/program.h"

namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

using vmx::testing::Ran;

// Runs the program with a bare environment: no display, no Qt platform.
Ran RunBare(std::vector<std::string> args) {
  return vmx::testing::RunProgram(
      std::move(args), {.env = {"PATH=/usr/bin:/bin", "LANG=C"}, .bareEnvironment = true},
      std::chrono::seconds(10));
}

TEST(Help, TheWindowProgramListsItsWordsWithoutADisplay) {
  const Ran ran = RunBare({VMX_GUI_PROGRAM, "--help"});
  EXPECT_EQ(ran.code, 0);
  EXPECT_THAT(ran.out, StartsWith("usage: velmarinex "));
  for (const char* word :
       {"PORT", "-expert", "-debug", "-english", "-german", "--demo", "--help", "dialout"})
    EXPECT_THAT(ran.out, HasSubstr(word));
}

TEST(Help, TheSimulatedBoardListsItsOptions) {
  const Ran ran = RunBare({VMX_SIM_PROGRAM, "--help"});
  EXPECT_EQ(ran.code, 0);
  for (const char* word : {"--rows", "--type", "--version", "--link", "--quiet"})
    EXPECT_THAT(ran.out, HasSubstr(word));
  EXPECT_EQ(RunBare({VMX_SIM_PROGRAM, "--bogus"}).code, 2) << "a wrong word is no request for help";
}

TEST(Help, TheBluetoothHelperShowsItsUsage) {
  const Ran ran = RunBare({VMX_RFCOMM_PROGRAM, "--help"});
  EXPECT_EQ(ran.code, 0);
  EXPECT_THAT(ran.out, StartsWith("usage: velmarinex-rfcomm bind ADDRESS CHANNEL | release N"));
  EXPECT_EQ(RunBare({VMX_RFCOMM_PROGRAM, "bind"}).code, 2);
}

// Every command the tool lists answers both forms of asking, without doing
// its work: "monitor --help" must not go looking for a port named --help.
TEST(Help, EveryListedCommandAnswersHelp) {
  const Ran list = RunBare({VMX_CLI_PROGRAM, "--help"});
  ASSERT_EQ(list.code, 0);
  std::vector<std::string> commands;
  std::istringstream lines(list.out);
  bool inList = false;
  for (std::string line; std::getline(lines, line);) {
    if (line == "commands:")
      inList = true;
    else if (line.empty())
      inList = false;
    else if (inList)
      commands.push_back(line.substr(2, line.find(' ', 2) - 2));
  }
  EXPECT_THAT(commands, ::testing::IsSupersetOf({"geo", "monitor"}));
  for (const std::string& c : commands) {
    SCOPED_TRACE(c);
    const Ran asked = RunBare({VMX_CLI_PROGRAM, c, "--help"});
    EXPECT_EQ(asked.code, 0);
    EXPECT_THAT(asked.out, StartsWith("usage: velmarinex-cli " + c));
    EXPECT_THAT(asked.out, ::testing::Not(HasSubstr("Connecting")));
    EXPECT_EQ(RunBare({VMX_CLI_PROGRAM, "help", c}).out, asked.out);
  }
}

}  // namespace
