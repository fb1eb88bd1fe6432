// The command-line tool's link to a board: the real link worker on the port,
// its hand-offs run inline, the records it reads and the answers to the Sets
// it makes. A command changes the records between the worker's hand-offs,
// exactly where the window's handlers do, and then waits until the worker has
// carried the change out; a long-running user (the MQTT bridge) listens to the
// hand-offs instead and keeps the link up as the window does.
//
// Threads: what the window's UI thread is, here is whoever holds the inline
// host's lock (InlineLinkHost): the worker inside a hand-off, the program's
// thread inside OnUi. The records of Store() and Records() are touched only
// there. The link's state as the hand-offs last reported it (lock_) is read
// by the waiting program thread.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
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
    virtual void RecordRead(RecordKind /*record*/, SharedStore& /*store*/, bool /*complete*/) {}
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
  // Runs `job` between the worker's hand-offs: the one place outside them
  // where the records may be read or edited.
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
  bool Revive() EXCLUDES(lock_);
  bool Connected() const EXCLUDES(lock_);
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
  void UpdatePage(RecordKind page) override;
  void Identified(uint8_t type, uint8_t version) override;

  void StartWorker();
  void Say(const std::string& text, bool status);
  // Polls `done` (under lock_) until it holds; false with `problem` once the
  // link has ended or refused the board, or the time is up.
  bool WaitUntil(const std::function<bool()>& done, std::string& problem) EXCLUDES(lock_);
  std::string LinkProblem() const REQUIRES(lock_);

  BoardArguments arguments_;
  Listener* listener_;
  SharedStore store_;
  RecordsCompleteness records_;  // the "UI thread"'s, as the records are
  LineWatch* line_ = nullptr;    // owned by the worker; it has a lock of its own
  std::unique_ptr<TthdCom> worker_;
  // The program thread's: the line's record when the last job ran.
  size_t setsBefore_ = 0;
  int identificationsBefore_ = 0;
  uint64_t lossesBefore_ = 0;

  // What the hand-offs reported, for the waiting program thread.
  mutable Mutex lock_;
  CondVar changed_;  // a record or the link state was handed over
  bool connected_ GUARDED_BY(lock_) = false;
  bool everConnected_ GUARDED_BY(lock_) = false;
  uint64_t losses_ GUARDED_BY(lock_) = 0;  // times the link went down after coming up
  bool complete_ GUARDED_BY(lock_) = false;
  int identificationsAtConnect_ GUARDED_BY(lock_) = 0;
  // Records handed over, by kind.
  std::vector<uint64_t> reads_ GUARDED_BY(lock_) = std::vector<uint64_t>(kRecordKinds);
  std::string lastStatus_ GUARDED_BY(lock_);
  std::string refusal_ GUARDED_BY(lock_);  // what the link said when it found a board it cannot use
};

}  // namespace vmx::cli
