// --help of every program, as a user without a display runs it: the options
// on standard output, exit code 0, nothing else started.
#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <sstream>
#include <string>
#include <vector>

namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

struct Ran {
  int code = -1;  // -1: did not end by itself within the time
  std::string out;
};

// Runs the program with a bare environment: no display, no Qt platform.
Ran RunBare(std::vector<std::string> args) {
  Ran ran;
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC) != 0) return ran;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  std::string path = "PATH=/usr/bin:/bin", lang = "LANG=C";
  char* envp[] = {path.data(), lang.data(), nullptr};
  pid_t pid = -1;
  const bool spawned = ::posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp) == 0;
  posix_spawn_file_actions_destroy(&actions);
  ::close(fds[1]);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  char buf[4096];
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    pollfd p{fds[0], POLLIN, 0};
    if (left.count() <= 0 || ::poll(&p, 1, static_cast<int>(left.count())) <= 0) break;
    const ssize_t n = ::read(fds[0], buf, sizeof buf);
    if (n <= 0) break;
    ran.out.append(buf, static_cast<size_t>(n));
  }
  ::close(fds[0]);
  if (!spawned) return ran;
  int status = 0;
  pid_t ended = 0;
  while ((ended = ::waitpid(pid, &status, WNOHANG)) == 0 &&
         std::chrono::steady_clock::now() < deadline)
    ::usleep(10000);
  if (ended != pid) {
    ::kill(pid, SIGKILL);
    ::waitpid(pid, &status, 0);
    return ran;
  }
  ran.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return ran;
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
