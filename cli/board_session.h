// One command's link to a board: the real link worker on the port, the records
// it reads, and the answers to the Sets the command makes. The command changes
// the records between the worker's hand-offs, exactly where the window's
// handlers do, and then waits until the worker has carried the change out.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "cli/line_watch.h"
#include "link/inline_link_host.h"
#include "link/shared_store.h"
#include "link/thd_com.h"

namespace vmx::cli {

// PORT and the options every board command takes; `rest` keeps the others.
struct BoardArguments {
  std::string port;
  bool verbose = false;  // the worker's log and status lines on stderr
  bool debug = false;    // and its trace of the line
  std::chrono::milliseconds timeout{30000};
  std::vector<std::string> rest;
};
// Words after the subcommand's name; nothing (and `problem` set) when PORT is missing.
std::optional<BoardArguments> ParseBoardArguments(int argc, char** argv, std::string& problem);

class BoardSession final : private InlineLinkHost {
 public:
  explicit BoardSession(const BoardArguments& arguments);
  ~BoardSession() override;

  // Connects and waits until the board's records have been read once.
  bool Open(std::string& problem);
  // Runs `job` between the worker's hand-offs; WaitServed then waits for what it asked.
  void OnUi(const std::function<void()>& job);
  // After a job: waits until none of `bits` is pending, no row is marked and
  // each Set in `sets` (keys as LineWatch gives them) has gone out, then
  // checks that the board acknowledged the last of each and no read failed.
  bool WaitServed(uint32_t bits, const std::vector<std::string>& sets, std::string& problem);

  SharedStore& Store() { return store_; }

 private:
  // LinkHost, on the worker's thread.
  void LogLine(const std::string& text) override;
  void StatusLine(const std::string& text) override;
  void LinkState(bool connected) override;
  void UpdatePage(PageUpdate page) override;

  bool Expired() const { return std::chrono::steady_clock::now() > deadline_; }
  std::string LinkProblem() const;

  BoardArguments arguments_;
  std::chrono::steady_clock::time_point deadline_;
  SharedStore store_;
  LineWatch* line_ = nullptr;  // owned by the worker
  std::unique_ptr<TthdCom> worker_;
  size_t setsBefore_ = 0;  // the line's record when the last job ran
  int identificationsBefore_ = 0;

  mutable std::mutex lock_;
  bool connected_ = false;
  bool everConnected_ = false;
  int identificationsAtConnect_ = 0;
  uint32_t updatesSinceConnect_ = 0;  // bit per PageUpdate
  std::string lastStatus_;
};

}  // namespace vmx::cli
