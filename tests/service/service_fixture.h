// The service as a keeper runs it: velmarinexd started as a program against
// two simulated boards on real ptys, on a free local port, its log in a file.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "sim/pty_server.h"
#include "sim/sim_board.h"
#include "tests/plain_files.h"
#include "tests/service/http_client.h"

extern char** environ;

namespace vmx::testing {

using namespace std::chrono_literals;

// Polls `done` until it holds or `timeout` passes.
template <class F>
bool Eventually(F done, std::chrono::milliseconds timeout = 10s) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(20ms);
  }
  return true;
}

class ServiceFixture : public ::testing::Test {
 protected:
  ServiceFixture() {
    char pattern[] = "/tmp/vmx-service-XXXXXX";
    folder = mkdtemp(pattern);
    for (int i = 0; i < 2; ++i) {
      boards.push_back(std::make_unique<sim::SimBoard>(sim::BoardOptions{.rows = 4}));
      servers.push_back(std::make_unique<sim::PtyServer>(*boards.back(),
                                                         folder + "/board" + std::to_string(i + 1)));
      servers.back()->Start();
    }
  }
  ~ServiceFixture() override {
    Stop();
    servers.clear();
    std::system(("rm -rf " + folder).c_str());
  }

  std::string Port(int board) const { return folder + "/board" + std::to_string(board + 1); }
  static std::string Id(int board) { return "vmx5_board" + std::to_string(board + 1); }

  // Starts the service with `extra` options on the two boards; false when it
  // never said where it listens.
  bool Start(std::vector<std::string> extra = {}, bool withBoards = true) {
    std::vector<std::string> args = {VMX_SERVICE_PROGRAM, "--listen", "127.0.0.1:0", "--data",
                                     folder + "/data"};
    if (withBoards)
      for (int i = 0; i < 2; ++i) args.insert(args.end(), {"--port", Port(i)});
    args.insert(args.end(), extra.begin(), extra.end());
    logPath = folder + "/service.log";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, logPath.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    std::vector<std::string> env = {"XDG_RUNTIME_DIR=" + folder};
    std::vector<char*> envp;
    for (char** e = environ; *e; ++e)
      if (!std::string_view(*e).starts_with("XDG_RUNTIME_DIR=")) envp.push_back(*e);
    for (auto& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0) pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    const std::regex listening("listening on https?://127\\.0\\.0\\.1:([0-9]+)");
    return Eventually([&] {
      std::smatch m;
      const std::string log = Log();
      if (std::regex_search(log, m, listening)) port = std::stoi(m[1]);
      return port > 0 || !Running();
    }) && port > 0;
  }
  // Waits until both boards are read completely.
  bool StartWithBoards(std::vector<std::string> extra = {}) {
    if (!Start(std::move(extra))) return false;
    return Eventually([&] {
      const HttpAnswer a = Get("/api/v1/boards");
      return a.status == 200 && Count(a.body, "\"complete\":true") == 2;
    });
  }
  bool Running() {
    if (pid <= 0) return false;
    int status = 0;
    if (waitpid(pid, &status, WNOHANG) == 0) return true;
    exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    pid = -1;
    return false;
  }
  // Asks the service to stop; its exit code.
  int Stop() {
    if (pid > 0) {
      kill(pid, SIGTERM);
      int status = 0;
      waitpid(pid, &status, 0);
      exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      pid = -1;
    }
    return exitCode;
  }

  std::string Log() const { return ReadAll(logPath); }
  std::string Token() const {
    std::string token = ReadAll(folder + "/velmarinex/token");
    while (!token.empty() && token.back() == '\n') token.pop_back();
    return token;
  }
  Headers Bearer() const { return {{"Authorization", "Bearer " + Token()}}; }

  HttpAnswer Send(http::verb method, const std::string& target, const std::string& body = {},
                  std::optional<Headers> headers = std::nullopt) {
    return HttpClient(port).Send(method, target, body, headers ? *headers : Bearer());
  }
  HttpAnswer Get(const std::string& target) { return Send(http::verb::get, target); }

  // The Sets each board received (SetInfo .. SetExpertWeather, actions).
  std::vector<std::string> Sets(int board) const {
    std::vector<std::string> sets;
    for (const std::string& line : boards[static_cast<size_t>(board)]->Lines())
      if (line.size() > 2 && ((line[0] == '0' && line[1] >= '1' && line[1] <= '6') ||
                              line.starts_with("7F")))
        sets.push_back(line);
    return sets;
  }
  static size_t Count(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
  }

  std::string folder, logPath;
  std::vector<std::unique_ptr<sim::SimBoard>> boards;
  std::vector<std::unique_ptr<sim::PtyServer>> servers;
  pid_t pid = -1;
  int port = 0;
  int exitCode = -1;
};

}  // namespace vmx::testing
