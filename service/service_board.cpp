#include "service/service_board.h"

#include "cli/schedule_text.h"
#include "cli/settings_json.h"
#include "persist/settings_file.h"
#include "service/board_status_json.h"

namespace vmx::service {
namespace {

using namespace std::chrono_literals;

constexpr auto kRevivePause = 5s;

std::shared_ptr<const std::string> Shared(const Json& value) {
  return std::make_shared<const std::string>(value.dump(-1, ' ', false, Json::error_handler_t::replace));
}

bool Same(const std::shared_ptr<const std::string>& a, const std::shared_ptr<const std::string>& b) {
  return a && b && *a == *b;
}

}  // namespace

ServiceBoard::ServiceBoard(std::string id, std::string port, std::chrono::milliseconds timeout,
                           bool keepTrying, BoardEvents& events, ServiceLog& log,
                           cli::BoardSession::Listener* extra)
    : id_(std::move(id)),
      port_(std::move(port)),
      events_(events),
      log_(log),
      extra_(extra),
      keepTrying_(keepTrying) {
  cli::BoardArguments arguments;
  arguments.port = port_;
  arguments.timeout = timeout;
  session_ = std::make_unique<cli::BoardSession>(arguments, this);
  jobThread_ = std::thread([this] { JobLoop(); });
}

ServiceBoard::~ServiceBoard() {
  {
    MutexLock g(jobsLock_);
    stopping_ = true;
  }
  jobsWake_.NotifyAll();
  jobThread_.join();
  std::deque<Job> left;
  {
    MutexLock g(jobsLock_);
    left.swap(jobs_);
  }
  for (Job& job : left) job(nullptr);
  session_.reset();
}

void ServiceBoard::JobLoop() {
  for (;;) {
    Job job;
    {
      MutexLock g(jobsLock_);
      while (!stopping_ && jobs_.empty()) jobsWake_.Wait(jobsLock_);
      if (stopping_) return;  // a job's caller hears of its board's going from the hub
      job = std::move(jobs_.front());
      jobs_.pop_front();
    }
    job(session_.get());
  }
}

void ServiceBoard::Run(Job job) {
  {
    MutexLock g(jobsLock_);
    jobs_.push_back(std::move(job));
  }
  jobsWake_.NotifyAll();
}

ServiceBoard::Snapshot ServiceBoard::Take() const {
  MutexLock g(lock_);
  return snapshot_;
}

Json ServiceBoard::Summary() const {
  const Snapshot s = Take();
  Json summary = Json::object();
  summary["id"] = id_;
  summary["port"] = port_;
  summary["connected"] = s.connected;
  summary["firmware"] =
      s.connected ? Json("2.x." + std::to_string(kExpectedFirmware)) : Json(nullptr);
  summary["mode"] = s.connected ? s.mode : Json(nullptr);
  summary["complete"] = s.connected && s.complete;
  return summary;
}

void ServiceBoard::ReviveWhenDue(std::chrono::steady_clock::time_point now) {
  // The session is looked at and revived between jobs only: a job may be
  // waiting on the old worker.
  if (checkQueued_.exchange(true)) return;
  Run([this, now](cli::BoardSession* session) {
    checkQueued_ = false;
    if (!session || !session->Ended()) {
      endedAt_.reset();
      return;
    }
    if (!keepTrying_ && !EverConnected()) {
      gaveUp_ = true;
      return;
    }
    if (!endedAt_) endedAt_ = now;
    if (now - *endedAt_ < kRevivePause) return;
    endedAt_.reset();
    if (session->Revive()) log_.Debug("trying " + port_ + " again");
  });
}

bool ServiceBoard::EverConnected() const {
  MutexLock g(lock_);
  return everConnected_;
}

void ServiceBoard::LinkChanged(bool connected) {
  {
    MutexLock g(lock_);
    snapshot_.connected = connected;
    snapshot_.complete = false;
    everConnected_ = everConnected_ || connected;
  }
  events_.BoardChanged(id_, connected ? "connected" : "disconnected");
  if (extra_) extra_->LinkChanged(connected);
}

void ServiceBoard::RecordRead(RecordKind record, SharedStore& store, bool complete) {
  if (extra_) extra_->RecordRead(record, store, complete);
  if (!complete) return;
  const bool settingsRecord = HoldsSettings(record);
  Text status = Shared(BoardStatusValue(id_, true, store.info, store.config));
  Text settings, schedule;
  bool firstComplete = false;
  {
    MutexLock g(lock_);
    firstComplete = !snapshot_.complete;
  }
  if (settingsRecord || firstComplete) {
    settings = Shared(cli::SettingsValue(TakeSettings(store)));
    schedule = Shared(cli::ScheduleValue(store));
  }
  bool statusChanged = false, settingsChanged = false;
  {
    MutexLock g(lock_);
    snapshot_.complete = true;
    snapshot_.mode = ModeValue(ModeOf(store.config.Mode));
    snapshot_.rows = store.schedule.size();
    statusChanged = !Same(status, snapshot_.status);
    snapshot_.status = status;
    if (settings) {
      settingsChanged = !Same(settings, snapshot_.settings) || !Same(schedule, snapshot_.schedule);
      snapshot_.settings = settings;
      snapshot_.schedule = schedule;
    }
  }
  if (firstComplete) events_.BoardChanged(id_, "complete");
  if (statusChanged) events_.StatusChanged(id_, status);
  if (settingsChanged && !firstComplete) events_.SettingsChanged(id_, settings, schedule);
}

void ServiceBoard::Said(const std::string& text, bool status) {
  if (extra_) extra_->Said(text, status);
  log_.Info(id_ + ": " + text);
  messages_.Add(text);
}

}  // namespace vmx::service
