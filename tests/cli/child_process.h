// A program started by a test, its standard output read line by line.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

extern char** environ;

namespace vmx::testing {

class Child {
 public:
  // `env` entries ("NAME=value") are added to this process's environment.
  explicit Child(std::vector<std::string> args, std::vector<std::string> env = {}) {
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
    std::vector<char*> envp;
    for (char** e = environ; *e; ++e) envp.push_back(*e);
    for (auto& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0) pid_ = -1;
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
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;

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
  // Sends `sig` (none for 0) and waits for the end; the exit code, or 128 + signal.
  int Stop(int sig) {
    if (sig) kill(pid_, sig);
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }
  // Reads everything to the end and returns the exit code.
  int Finish() {
    ReadUntil("\x01never\x01");
    return Stop(0);
  }
  bool Running() const { return pid_ > 0; }
  std::string all;

 private:
  pid_t pid_ = -1;
  FILE* out_ = nullptr;
};

}  // namespace vmx::testing
