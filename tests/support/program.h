// A program started by a test: its arguments and environment, what it writes,
// and how it ended.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <string>
#include <vector>

namespace vmx::testing {

struct Launch {
  std::vector<std::string> env{};  // "NAME=value", added to this process's environment
  bool bareEnvironment = false;    // only `env`: nothing inherited (no display, no Qt platform)
  std::string logFile{};  // standard output and error both go there instead of to `out`/`err`
};

class Program {
 public:
  // Standard input is /dev/null. `args[0]` is the program: a path, or a name looked up in PATH.
  explicit Program(std::vector<std::string> args, Launch how = {});
  ~Program();  // a program still running is killed
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  bool Running() const { return pid_ > 0; }
  // Reads standard output until a line holds `text`: that line with its line
  // feed, or "" once the output ended or `timeout` passed. Later calls go on
  // after that line.
  std::string ReadUntil(const std::string& text,
                        std::chrono::milliseconds timeout = std::chrono::seconds(60));
  // Waits at most `timeout` for the program to end by itself, reading all it
  // writes: its exit code, 128 + the signal that ended it, or -1 (it still runs).
  int Wait(std::chrono::milliseconds timeout = std::chrono::seconds(60));
  // Sends `signal` (none for 0) and waits for the end, reading all it writes.
  int Stop(int signal);

  std::string out, err;  // what it wrote so far

 private:
  // Reads what arrives until `until` holds, both outputs end or `deadline` passes.
  template <class Until>
  void Pump(std::chrono::steady_clock::time_point deadline, Until until);
  int Reap(bool block);

  pid_t pid_ = -1;
  int code_ = -1;
  int fds_[2] = {-1, -1};  // standard output and error, while open
  size_t scanned_ = 0;     // where the next line of `out` starts for ReadUntil
};

struct Ran {
  int code = -1;  // exit code, 128 + signal, or -1: it did not start or end in time
  std::string out, err;
};

// Runs a program to its end (killed after `timeout`).
Ran RunProgram(std::vector<std::string> args, Launch how = {},
               std::chrono::milliseconds timeout = std::chrono::seconds(60));

}  // namespace vmx::testing
