// velmarinexd started as a program: on a free local port (it says which in
// its log), its runtime folder and log in a folder of the caller's.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <regex>
#include <string>
#include <vector>

#include "tests/cli/mqtt_helpers.h"
#include "tests/plain_files.h"
#include "tests/service/http_client.h"

namespace vmx::testing {

class ServiceProcess {
 public:
  ~ServiceProcess() { Stop(); }

  // Starts `program` with `args` (after --listen and --data); false when it
  // never said where it listens.
  bool Start(const std::string& program, const std::string& folder,
             std::vector<std::string> args) {
    folder_ = folder;
    args.insert(args.begin(), {program, "--listen", "127.0.0.1:0", "--data", folder + "/data"});
    logPath_ = folder + "/service.log";
    port_ = 0;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, logPath_.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    std::string runtime = "XDG_RUNTIME_DIR=" + folder;
    std::vector<char*> envp;
    for (char** e = environ; *e; ++e)
      if (!std::string_view(*e).starts_with("XDG_RUNTIME_DIR=")) envp.push_back(*e);
    envp.push_back(runtime.data());
    envp.push_back(nullptr);
    if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    const std::regex listening("listening on https?://127\\.0\\.0\\.1:([0-9]+)");
    return WaitUntil(
               [&] {
                 std::smatch m;
                 const std::string log = Log();
                 if (std::regex_search(log, m, listening)) port_ = std::stoi(m[1]);
                 return port_ > 0 || !Running();
               },
               10s) &&
           port_ > 0;
  }
  bool Running() {
    if (pid_ <= 0) return false;
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == 0) return true;
    Ended(status);
    return false;
  }
  // Asks the service to stop; its exit code.
  int Stop() {
    if (pid_ > 0) {
      kill(pid_, SIGTERM);
      int status = 0;
      waitpid(pid_, &status, 0);
      Ended(status);
    }
    return exitCode_;
  }

  int Port() const { return port_; }
  pid_t Pid() const { return pid_; }
  int ExitCode() const { return exitCode_; }
  std::string Log() const { return ReadAll(logPath_); }
  std::string Token() const {
    std::string token = ReadAll(folder_ + "/velmarinex/token");
    while (!token.empty() && token.back() == '\n') token.pop_back();
    return token;
  }
  Headers Bearer() const { return {{"Authorization", "Bearer " + Token()}}; }

 private:
  void Ended(int status) {
    exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    pid_ = -1;
  }

  std::string folder_, logPath_;
  pid_t pid_ = -1;
  int port_ = 0;
  int exitCode_ = -1;
};

}  // namespace vmx::testing
