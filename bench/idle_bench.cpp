// Processor time of the programs while connected to a board that nobody
// edits: velmarinex-cli monitor against velmarinex-sim, and velmarinex --demo
// (offscreen, its board inside). Counted from the scheduler's run time of all
// threads over 10 s, after a few seconds to connect and read everything.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace {

using namespace std::chrono_literals;

double CpuSeconds(pid_t pid) {
  double total = 0;
  std::error_code error;
  for (const auto& task :
       std::filesystem::directory_iterator("/proc/" + std::to_string(pid) + "/task", error)) {
    std::ifstream in(task.path() / "schedstat");
    double ns = 0;
    if (in >> ns) total += ns / 1e9;
  }
  return total;
}

class Child {
 public:
  Child(std::vector<std::string> args, std::vector<std::string> extraEnv, bool readOut) {
    int fds[2] = {-1, -1};
    if (readOut && ::pipe2(fds, O_CLOEXEC) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (readOut)
      posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    else
      posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    std::vector<std::string> env(extraEnv);
    for (char** e = environ; *e; ++e) env.emplace_back(*e);
    std::vector<char*> argv, envp;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    for (auto& v : env) envp.push_back(v.data());
    envp.push_back(nullptr);
    if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    if (readOut) {
      ::close(fds[1]);
      out_ = ::fdopen(fds[0], "r");
    }
  }
  ~Child() {
    if (pid_ > 0) {
      ::kill(pid_, SIGTERM);
      ::waitpid(pid_, nullptr, 0);
    }
    if (out_) std::fclose(out_);
  }
  std::string Line() {
    char buf[512];
    if (!out_ || !std::fgets(buf, sizeof buf, out_)) return {};
    std::string s = buf;
    if (!s.empty() && s.back() == '\n') s.pop_back();
    return s;
  }
  pid_t Pid() const { return pid_; }

 private:
  pid_t pid_ = -1;
  FILE* out_ = nullptr;
};

// Share of one processor the process used over `window`, after `settle`.
double IdleShare(pid_t pid, std::chrono::seconds settle, std::chrono::seconds window) {
  std::this_thread::sleep_for(settle);
  const double before = CpuSeconds(pid);
  std::this_thread::sleep_for(window);
  return (CpuSeconds(pid) - before) / std::chrono::duration<double>(window).count();
}

void IdleMonitor(benchmark::State& state) {
  for (auto _ : state) {
    Child sim({VMX_SIM_PROGRAM, "--quiet"}, {}, true);
    const std::string port = sim.Line();
    if (port.empty()) return state.SkipWithError("no simulated board");
    Child monitor({VMX_CLI_PROGRAM, "monitor", port}, {}, false);
    const double share = IdleShare(monitor.Pid(), 4s, 10s);
    state.SetIterationTime(10);
    state.counters["cpu_percent"] = 100 * share;
  }
}
BENCHMARK(IdleMonitor)->UseManualTime()->Unit(benchmark::kSecond)->Iterations(1);

void IdleDemo(benchmark::State& state) {
  const auto home =
      std::filesystem::temp_directory_path() / ("idle_bench." + std::to_string(::getpid()));
  std::filesystem::create_directories(home);
  for (auto _ : state) {
    Child demo({VMX_PROGRAM, "--demo"},
               {"QT_QPA_PLATFORM=offscreen", "XDG_CONFIG_HOME=" + home.string()}, false);
    const double share = IdleShare(demo.Pid(), 6s, 10s);
    state.SetIterationTime(10);
    state.counters["cpu_percent"] = 100 * share;
  }
  std::filesystem::remove_all(home);
}
BENCHMARK(IdleDemo)->UseManualTime()->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
