#include "tests/support/program.h"

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string_view>
#include <thread>

extern char** environ;

namespace vmx::testing {

using Clock = std::chrono::steady_clock;

Program::Program(std::vector<std::string> args, Launch how) {
  int pipes[2][2] = {{-1, -1}, {-1, -1}};
  const bool piped = how.logFile.empty();
  if (piped && (::pipe2(pipes[0], O_CLOEXEC) != 0 || ::pipe2(pipes[1], O_CLOEXEC) != 0)) {
    for (auto& p : pipes)
      for (int fd : p)
        if (fd >= 0) ::close(fd);
    return;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  if (piped) {
    posix_spawn_file_actions_adddup2(&actions, pipes[0][1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, pipes[1][1], STDERR_FILENO);
  } else {
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, how.logFile.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
  }
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  std::vector<char*> envp;
  // An inherited variable that `env` names again is left out: the first of two wins.
  const auto named = [&](const char* entry) {
    for (const std::string_view e : how.env)
      if (std::string_view(entry).starts_with(e.substr(0, e.find('=') + 1))) return true;
    return false;
  };
  if (!how.bareEnvironment)
    for (char** e = environ; *e; ++e)
      if (!named(*e)) envp.push_back(*e);
  for (auto& e : how.env) envp.push_back(e.data());
  envp.push_back(nullptr);
  if (::posix_spawnp(&pid_, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0) pid_ = -1;
  posix_spawn_file_actions_destroy(&actions);
  if (!piped) return;
  for (int i = 0; i < 2; ++i) {
    ::close(pipes[i][1]);
    fds_[i] = pipes[i][0];
    if (pid_ <= 0) {
      ::close(fds_[i]);
      fds_[i] = -1;
    }
  }
}

Program::~Program() {
  if (pid_ > 0) {
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
  }
  for (int fd : fds_)
    if (fd >= 0) ::close(fd);
}

template <class Until>
void Program::Pump(Clock::time_point deadline, Until until) {
  std::string* texts[2] = {&out, &err};
  while (!until() && (fds_[0] >= 0 || fds_[1] >= 0)) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    pollfd p[2] = {{fds_[0], POLLIN, 0}, {fds_[1], POLLIN, 0}};
    if (left.count() <= 0) return;
    const int ready = ::poll(p, 2, static_cast<int>(left.count()));
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) return;
    for (int i = 0; i < 2; ++i) {
      if (!(p[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
      char buf[4096];
      const ssize_t n = ::read(fds_[i], buf, sizeof buf);
      if (n > 0) {
        texts[i]->append(buf, static_cast<size_t>(n));
      } else {
        ::close(fds_[i]);
        fds_[i] = -1;
      }
    }
  }
}

std::string Program::ReadUntil(const std::string& text, std::chrono::milliseconds timeout) {
  std::string found;
  // The line that holds `text`; the last one counts without its line feed once the output ended.
  const auto lineFound = [&] {
    for (size_t nl; (nl = out.find('\n', scanned_)) != std::string::npos;) {
      std::string line = out.substr(scanned_, nl + 1 - scanned_);
      scanned_ = nl + 1;
      if (line.find(text) != std::string::npos) {
        found = std::move(line);
        return true;
      }
    }
    if (fds_[0] < 0 && scanned_ < out.size()) {
      std::string rest = out.substr(scanned_);
      scanned_ = out.size();
      if (rest.find(text) != std::string::npos) found = std::move(rest);
      return true;
    }
    return false;
  };
  Pump(Clock::now() + timeout, lineFound);
  return found;
}

int Program::Reap(bool block) {
  if (pid_ <= 0) return code_;
  int status = 0;
  if (::waitpid(pid_, &status, block ? 0 : WNOHANG) != pid_) return -1;
  pid_ = -1;
  code_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return code_;
}

int Program::Wait(std::chrono::milliseconds timeout) {
  const auto deadline = Clock::now() + timeout;
  Pump(deadline, [] { return false; });
  for (;;) {
    const int code = Reap(false);
    if (code != -1 || pid_ <= 0 || Clock::now() >= deadline) return code;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

int Program::Stop(int signal) {
  if (signal && pid_ > 0) ::kill(pid_, signal);
  Pump(Clock::now() + std::chrono::seconds(60), [] { return false; });
  return Reap(true);
}

Ran RunProgram(std::vector<std::string> args, Launch how, std::chrono::milliseconds timeout) {
  Program program(std::move(args), std::move(how));
  Ran ran;
  ran.code = program.Wait(timeout);
  ran.out = std::move(program.out);
  ran.err = std::move(program.err);
  return ran;
}

}  // namespace vmx::testing
