// One board of the service: its link session (worker and store), what the
// routes read of it, and its job thread. The worker's hand-offs keep a
// snapshot of the records as JSON, so a request reads the snapshot and never
// the store; writes run one at a time on the job thread, which may wait for
// the board without holding up the I/O thread.
#pragma once

#include <atomic>
#include <chrono>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "cli/board_session.h"
#include "cli/json_writer.h"
#include "platform/mutex.h"
#include "service/board_log.h"
#include "service/service_log.h"

namespace vmx::service {

using cli::Json;

// What the boards report for the event stream; called on their workers' threads.
class BoardEvents {
 public:
  virtual ~BoardEvents() = default;
  // "added", "removed", "connected", "disconnected", "complete".
  virtual void BoardChanged(const std::string& id, const std::string& change) = 0;
  virtual void StatusChanged(const std::string& id, std::shared_ptr<const std::string> status) = 0;
  // The new settings and schedule as compact JSON.
  virtual void SettingsChanged(const std::string& id, std::shared_ptr<const std::string> settings,
                               std::shared_ptr<const std::string> schedule) = 0;
};

class ServiceBoard final : public cli::BoardSession::Listener {
 public:
  using Text = std::shared_ptr<const std::string>;
  struct Snapshot {
    bool connected = false;
    bool complete = false;
    Json mode;  // null until read
    Text settings, schedule, status;  // compact JSON; null until every record is read
    size_t rows = 0;
  };

  // `extra` hears the link too (the MQTT bridge), on the worker's thread.
  // Without `keepTrying`, a port whose link ends before it ever found the
  // board is given up (a scanned port that holds something else).
  ServiceBoard(std::string id, std::string port, std::chrono::milliseconds timeout,
               bool keepTrying, BoardEvents& events, ServiceLog& log, cli::BoardSession::Listener* extra = nullptr);
  ~ServiceBoard() override;
  ServiceBoard(const ServiceBoard&) = delete;
  ServiceBoard& operator=(const ServiceBoard&) = delete;

  const std::string& Id() const { return id_; }
  const std::string& Port() const { return port_; }
  Snapshot Take() const;
  // {"id", "port", "connected", "firmware", "mode", "complete"}.
  Json Summary() const;
  bool GaveUp() const { return gaveUp_; }
  // What the service logged about this board, for its Messages screen.
  BoardLog& Messages() { return messages_; }

  // Runs `job` on the job thread, after the jobs before it, with the board's
  // session; with nullptr when the board goes away first.
  using Job = std::function<void(cli::BoardSession*)>;
  void Run(Job job);
  // For the MQTT bridge, whose commands run as jobs too.
  cli::BoardSession& Session() { return *session_; }

  // A worker ends after failed openings or on another kind of board; the next
  // one starts after a pause, as a window left open would find a replugged board.
  void ReviveWhenDue(std::chrono::steady_clock::time_point now);

 private:
  void LinkChanged(bool connected) override;
  void RecordRead(RecordKind record, SharedStore& store, bool complete) override;
  void Said(const std::string& text, bool status) override;
  void JobLoop();
  bool EverConnected() const EXCLUDES(lock_);

  std::string id_, port_;
  BoardEvents& events_;
  ServiceLog& log_;
  BoardLog messages_;
  cli::BoardSession::Listener* extra_;

  // What the worker's hand-offs last reported, for the routes.
  mutable Mutex lock_;
  Snapshot snapshot_ GUARDED_BY(lock_);
  bool everConnected_ GUARDED_BY(lock_) = false;
  std::optional<std::chrono::steady_clock::time_point> endedAt_;  // the job thread's
  std::atomic<bool> checkQueued_{false};
  bool keepTrying_;
  std::atomic<bool> gaveUp_{false};

  Mutex jobsLock_;
  CondVar jobsWake_;
  std::deque<Job> jobs_ GUARDED_BY(jobsLock_);
  bool stopping_ GUARDED_BY(jobsLock_) = false;
  std::unique_ptr<cli::BoardSession> session_;
  std::thread jobThread_;
};

}  // namespace vmx::service
