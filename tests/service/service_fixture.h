// The service as a keeper runs it: velmarinexd started as a program against
// two simulated boards on real ptys, on a free local port, its log in a file.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "sim/pty_server.h"
#include "sim/sim_board.h"
#include "tests/service/service_process.h"

namespace vmx::testing {

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
    service.Stop();
    servers.clear();
    std::system(("rm -rf " + folder).c_str());
  }

  std::string Port(int board) const { return folder + "/board" + std::to_string(board + 1); }
  static std::string Id(int board) { return "vmx5_board" + std::to_string(board + 1); }

  // Starts the service with `extra` options, on the two boards unless not `withBoards`.
  bool Start(std::vector<std::string> extra = {}, bool withBoards = true) {
    std::vector<std::string> args;
    if (withBoards)
      for (int i = 0; i < 2; ++i) args.insert(args.end(), {"--port", Port(i)});
    args.insert(args.end(), extra.begin(), extra.end());
    const bool started = service.Start(VMX_SERVICE_PROGRAM, folder, args);
    port = service.Port();
    return started;
  }
  // And waits until both boards are read completely.
  bool StartWithBoards(std::vector<std::string> extra = {}) {
    if (!Start(std::move(extra))) return false;
    return WaitUntil(
        [&] {
          const HttpAnswer a = Get("/api/v1/boards");
          return a.status == 200 && Count(a.body, "\"complete\":true") == 2;
        },
        10s);
  }
  bool Running() { return service.Running(); }
  std::string Log() const { return service.Log(); }
  std::string Token() const { return service.Token(); }
  Headers Bearer() const { return service.Bearer(); }

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

  std::string folder;
  std::vector<std::unique_ptr<sim::SimBoard>> boards;
  std::vector<std::unique_ptr<sim::PtyServer>> servers;
  ServiceProcess service;
  int port = 0;
};

}  // namespace vmx::testing
