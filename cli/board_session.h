// The command-line tool's link to a board: the real link worker on the port,
// its hand-offs run inline, the records it reads and the answers to the Sets
// it makes. A command changes the records between the worker's hand-offs,
// exactly where the window's handlers do, and then waits until the worker has
// carried the change out; a long-running user (the MQTT bridge) listens to the
// hand-offs instead and keeps the link up as the window does.
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
#include "persist/records_complete.h"
#include "persist/settings_keys.h"

namespace vmx::cli {

// PORT and the options every board command takes; `rest` keeps the others.
struct BoardArguments {
  std::string port;
  bool verbose = false;                      // the worker's log and status lines on stderr
  bool debug = false;                        // and its trace of the line
  std::chrono::milliseconds timeout{30000};  // for each wait on the board
  std::vector<std::string> rest;
};
// A command that takes PORT and --verbose only.
inline BoardArguments PortArguments(const std::string& port, bool verbose) {
  BoardArguments a;
  a.port = port;
  a.verbose = verbose;
  return a;
}
// Words after the subcommand's name; nothing (and `problem` set) when PORT is missing.
std::optional<BoardArguments> ParseBoardArguments(int argc, char** argv, std::string& problem);

class BoardSession final : private InlineLinkHost {
 public:
  // What a long-running user hears of the link. Called inside the worker's
  // hand-offs, where the shared records may be read.
  class Listener {
   public:
    virtual ~Listener() = default;
    virtual void LinkChanged(bool /*connected*/) {}
    // `complete`: every record of this link has been read, so `store` holds
    // the board's settings and not zeros or another board's.
    virtual void RecordRead(PageUpdate /*record*/, SharedStore& /*store*/, bool /*complete*/) {}
    // A log line, or with `status` a status line.
    virtual void Said(const std::string& /*text*/, bool /*status*/) {}
  };

  // Starts the worker on the port. Its log and status lines go to stderr when
  // verbose, and to the listener.
  explicit BoardSession(const BoardArguments& arguments, Listener* listener = nullptr);
  ~BoardSession() override;

  // Waits until the board is identified and every record read. Fails at once
  // when the port holds another board or firmware, or the link ends.
  bool Open(std::string& problem);
  // Runs `job` between the worker's hand-offs.
  void OnUi(const std::function<void()>& job);
  // After a job: waits until none of `bits` is pending, no row is marked and
  // each Set in `sets` (keys as LineWatch gives them) has gone out, then
  // checks that the board acknowledged the last of each and no read failed.
  bool WaitServed(uint32_t bits, const std::vector<std::string>& sets, std::string& problem);
  // After a job that raised the write bits `bits`: waits until they have gone
  // out, reads those records back and compares them with `sent`; false with
  // `problem` naming every key that differs.
  bool WaitWritten(uint32_t bits, const SettingsRecords& sent, std::string& problem);

  // A worker gives up after failed openings or on foreign hardware; a
  // long-running user starts the next one. True when it did.
  bool Revive();
  bool Connected() const;
  // The worker's run has ended.
  bool Ended() const { return worker_->LinkClosed(); }

  SharedStore& Store() { return store_; }
  RecordsCompleteness& Records() { return records_; }  // inside OnUi only
  const std::string& Port() const { return arguments_.port; }

 private:
  // LinkHost, on the worker's thread.
  void LogLine(const std::string& text) override;
  void StatusLine(const std::string& text) override;
  void Progress(const std::string& text, int64_t done, int64_t total) override;
  void LinkState(bool connected) override;
  void UpdatePage(PageUpdate page) override;
  void Identified(uint8_t type, uint8_t version) override;

  void StartWorker();
  void Say(const std::string& text, bool status);
  // Polls `done` (under lock_) until it holds; false with `problem` once the
  // link has ended or refused the board, or the time is up.
  bool WaitUntil(const std::function<bool()>& done, std::string& problem);
  std::string LinkProblem() const;  // under lock_

  BoardArguments arguments_;
  Listener* listener_;
  SharedStore store_;
  RecordsCompleteness records_;
  LineWatch* line_ = nullptr;  // owned by the worker
  std::unique_ptr<TthdCom> worker_;
  size_t setsBefore_ = 0;  // the line's record when the last job ran
  int identificationsBefore_ = 0;

  mutable std::mutex lock_;
  std::condition_variable changed_;  // a record or the link state was handed over
  bool connected_ = false;
  bool everConnected_ = false;
  bool complete_ = false;
  int identificationsAtConnect_ = 0;
  std::vector<uint64_t> reads_ = std::vector<uint64_t>(8);  // records handed over, by PageUpdate
  std::string lastStatus_;
  std::string refusal_;  // what the link said when it found a board it cannot use
};

}  // namespace vmx::cli
