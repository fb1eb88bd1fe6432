// The monitor as a user runs it: the simulated board program on a pty, the
// monitor program on that pty, a signal to end it.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

extern char** environ;

namespace {

using namespace std::chrono_literals;

// A child program whose standard output is read line by line.
class Child {
 public:
  explicit Child(std::vector<std::string> args) {
    int fds[2];
    if (pipe(fds) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    out_ = fdopen(fds[0], "r");
  }
  ~Child() {
    if (pid_ > 0) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
    if (out_) fclose(out_);
  }
  // Reads lines until one contains `text`; returns it, or "" at end of output.
  std::string ReadUntil(const std::string& text) {
    char buf[4096];
    while (out_ && fgets(buf, sizeof buf, out_)) {
      const std::string line = buf;
      all += line;
      if (line.find(text) != std::string::npos) return line;
    }
    return {};
  }
  int Stop(int sig) {
    kill(pid_, sig);
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }
  bool Running() const { return pid_ > 0; }
  std::string all;

 private:
  pid_t pid_ = -1;
  FILE* out_ = nullptr;
};

TEST(Monitor, WatchesTheSimulatedBoardAndEndsCleanlyOnASignal) {
  Child sim({VMX_SIM_PROGRAM, "--quiet", "--rows", "3"});
  ASSERT_TRUE(sim.Running());
  std::string port = sim.ReadUntil("/");
  ASSERT_FALSE(port.empty());
  port.pop_back();  // the line feed

  Child monitor({VMX_CLI_PROGRAM, "monitor", port, "-debug"});
  ASSERT_TRUE(monitor.Running());
  EXPECT_NE(monitor.ReadUntil("Connecting to " + port + "..."), "");
  const std::string connected = monitor.ReadUntil("Connected to Velmarinex 2.x.4 on " + port);
  ASSERT_NE(connected, "");
  EXPECT_EQ(connected.front(), '[') << "every line carries its stamp";
  EXPECT_NE(monitor.ReadUntil("OUT: \"86\""), "") << "the first full read, traced";
  EXPECT_NE(monitor.ReadUntil("OUT: \"82\""), "") << "the periodic refresh";
  EXPECT_EQ(monitor.Stop(SIGINT), 0);
  EXPECT_NE(monitor.all.find("Connected to " + port), std::string::npos);
  EXPECT_NE(monitor.ReadUntil("Disconnected from " + port), "");
}

TEST(Monitor, AMissingPortEndsTheWorkerAndFails) {
  // A bare name means that device under /dev, as in the window.
  Child monitor({VMX_CLI_PROGRAM, "monitor", "vmx-none", "-debug"});
  // Five openings a second apart.
  EXPECT_NE(monitor.ReadUntil("Error while connecting to /dev/vmx-none"), "");
  EXPECT_NE(monitor.ReadUntil("Disconnected from /dev/vmx-none"), "");
  EXPECT_EQ(monitor.Stop(0), 1);
}

}  // namespace
