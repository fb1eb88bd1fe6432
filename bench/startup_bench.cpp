// Start-up of the program against an empty Qt window program: time from
// starting the process to its first frame on the screen, and resident memory
// 3 s after the start; for the program also the time from the first frame
// until every control exists (its pages are built after the frame). Runs on the platform the environment gives: under
// Xvfb (xvfb-run -a) with a DISPLAY, else offscreen.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

struct Start {
  double firstFrameSeconds = -1;
  double cpuSeconds = 0;  // run time of all its threads up to the first frame
  double rssMiB = 0;
  // From the first frame to every control existing (the program's "all
  // controls" line); -1 when the program does not report it.
  double controlsAfterFrameSeconds = -1;
};

// Time the process has run on a processor, all threads, from the scheduler's
// count: unlike the wall time it does not grow when the machine is busy.
double CpuSeconds(pid_t pid) {
  double total = 0;
  const std::string dir = "/proc/" + std::to_string(pid) + "/task";
  std::error_code error;
  for (const auto& task : std::filesystem::directory_iterator(dir, error)) {
    std::ifstream in(task.path() / "schedstat");
    double ns = 0;
    if (in >> ns) total += ns / 1e9;
  }
  return total;
}

double RssMiB(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  for (std::string line; std::getline(status, line);)
    if (line.starts_with("VmRSS:")) return std::stod(line.substr(6)) / 1024.0;
  return 0;
}

// Starts `program`, waits for its first-frame line, samples its memory 3 s
// after the start, and ends it.
Start Measure(const std::string& program, const std::string& argument, const std::string& home) {
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC) != 0) return {};
  std::vector<std::string> env;
  for (char** e = environ; *e; ++e) {
    const std::string v = *e;
    if (!v.starts_with("VMX_FIRST_FRAME_FD=") && !v.starts_with("XDG_CONFIG_HOME=") &&
        !v.starts_with("QT_QPA_PLATFORM="))
      env.push_back(v);
  }
  env.push_back("VMX_FIRST_FRAME_FD=3");
  // A clean user: no remembered port, so nothing connects.
  env.push_back("XDG_CONFIG_HOME=" + home);
  if (!std::getenv("DISPLAY")) env.push_back("QT_QPA_PLATFORM=offscreen");
  std::vector<char*> envp;
  for (auto& v : env) envp.push_back(v.data());
  envp.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, fds[1], 3);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  std::string path = program;
  std::string arg = argument;
  char* argv[] = {path.data(), arg.empty() ? nullptr : arg.data(), nullptr};
  pid_t pid = -1;
  const auto started = Clock::now();
  const int spawned = posix_spawn(&pid, path.c_str(), &actions, nullptr, argv, envp.data());
  posix_spawn_file_actions_destroy(&actions);
  ::close(fds[1]);
  Start result;
  if (spawned == 0) {
    pollfd p{fds[0], POLLIN, 0};
    std::string lines;
    if (::poll(&p, 1, 20000) == 1) {
      char buf[64];
      const ssize_t n = ::read(fds[0], buf, sizeof buf);
      if (n > 0) {
        const auto frame = Clock::now();
        result.firstFrameSeconds = std::chrono::duration<double>(frame - started).count();
        result.cpuSeconds = CpuSeconds(pid);
        lines.assign(buf, static_cast<size_t>(n));
        // Both lines in one read: the controls came no later than the frame was seen.
        while (lines.find("all controls") == std::string::npos && ::poll(&p, 1, 5000) == 1) {
          const ssize_t more = ::read(fds[0], buf, sizeof buf);
          if (more <= 0) break;
          lines.append(buf, static_cast<size_t>(more));
        }
        if (lines.find("all controls") != std::string::npos)
          result.controlsAfterFrameSeconds =
              std::chrono::duration<double>(Clock::now() - frame).count();
      }
    }
    std::this_thread::sleep_until(started + 3s);
    result.rssMiB = RssMiB(pid);
    ::kill(pid, SIGTERM);
    int status = 0;
    ::waitpid(pid, &status, 0);
  }
  ::close(fds[0]);
  return result;
}

void Startup(benchmark::State& state, const std::string& program, const std::string& argument) {
  const auto home =
      std::filesystem::temp_directory_path() / ("startup_bench." + std::to_string(::getpid()));
  std::filesystem::create_directories(home);
  double rss = 0, cpu = 0, controls = 0;
  int runs = 0, controlRuns = 0;
  for (auto _ : state) {
    const Start s = Measure(program, argument, home.string());
    if (s.firstFrameSeconds < 0) {
      state.SkipWithError("no first frame within 20 s");
      break;
    }
    state.SetIterationTime(s.firstFrameSeconds);
    rss += s.rssMiB;
    cpu += s.cpuSeconds;
    ++runs;
    if (s.controlsAfterFrameSeconds >= 0) {
      controls += s.controlsAfterFrameSeconds;
      ++controlRuns;
    }
  }
  if (runs) {
    state.counters["rss_MiB_at_3s"] = rss / runs;
    state.counters["cpu_ms_to_frame"] = 1000 * cpu / runs;
  }
  if (controlRuns) state.counters["all_controls_ms_after_frame"] = 1000 * controls / controlRuns;
  state.SetLabel(std::getenv("DISPLAY") ? "xcb" : "offscreen");
  std::filesystem::remove_all(home);
}

}  // namespace

BENCHMARK_CAPTURE(Startup, EmptyQtWindow, std::string(VMX_EMPTY_WINDOW), std::string())
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);
BENCHMARK_CAPTURE(Startup, QtWindowWithOneWord, std::string(VMX_EMPTY_WINDOW),
                  std::string("--text"))
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);
BENCHMARK_CAPTURE(Startup, Velmarinex, std::string(VMX_PROGRAM), std::string())
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

BENCHMARK_MAIN();
