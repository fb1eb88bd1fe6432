#include "app/plan_keeper.h"

#include <QThread>

#include "link/port_name.h"
#include "persist/data_root.h"
#include "ui/page_context.h"

namespace vmx {
namespace {

using namespace std::chrono_literals;

// A new day is noticed within a minute; a read asked for is looked at sooner.
constexpr auto kDayCheck = 60s;
constexpr auto kReadCheck = 500ms;

class Calendar final : public PlanClock {
 public:
  explicit Calendar(long long day) : day_(day) {}
  long long Today() const override { return day_; }

 private:
  long long day_;
};

}  // namespace

// The records as a plan sees the board: the rows last read, and rows handed
// to the link worker with the save behind them. The worker sends them when it
// can; until the next read shows them, the plan counts them as being written.
class PlanKeeper::StoreBoard final : public PlanBoard {
 public:
  explicit StoreBoard(PlanKeeper& keeper) : keeper_(keeper) {}

  std::optional<std::vector<ScheduleRow>> Schedule(std::string&) override {
    return keeper_.context_.Store().schedule;
  }

  bool WriteAndSave(const std::vector<ScheduleRow>& rows, std::string& problem) override {
    SharedStore& store = keeper_.context_.Store();
    if (rows.size() != store.schedule.size())
      return problem = "the board's number of schedule rows changed", false;
    keeper_.writing_ = true;
    store.schedule = rows;
    store.MarkRows(0, rows.size(), request::WriteSchedule | request::SaveEEPROM);
    keeper_.writing_ = false;
    return true;
  }

 private:
  PlanKeeper& keeper_;
};

PlanKeeper::PlanKeeper(PageContext& context, QObject* parent)
    : QObject(parent), root(UserDataRoot()), context_(context) {
  today = [] { return ComputerCalendar().Today(); };
  timer_.setInterval(kDayCheck);
  connect(&timer_, &QTimer::timeout, this, &PlanKeeper::Tick);
  // Every request raised on the window's thread may be an edit of the
  // schedule; the worker's own re-marks come from its thread.
  listener_ = context_.Store().AddRequestListener([this] {
    // The thread first: the flag belongs to the window's thread.
    if (QThread::currentThread() != thread() || writing_) return;
    if (context_.Store().Pending(request::WriteSchedule))
      QMetaObject::invokeMethod(this, &PlanKeeper::EditSeen, Qt::QueuedConnection);
  });
}

PlanKeeper::~PlanKeeper() {
  context_.Store().RemoveRequestListener(listener_);
}

PlanHome PlanKeeper::Home() const {
  return {root, BoardIdOfPort(context_.PortName())};
}

bool PlanKeeper::Holding() const {
  return context_.Connected() && !serviceHolds(Home().boardId);
}

bool PlanKeeper::Settled() const {
  SharedStore& store = context_.Store();
  return !store.Pending(request::ReadSchedule | request::WriteSchedule) && !store.WritesPending();
}

void PlanKeeper::LinkState(bool connected) {
  checkDue_ = false;
  if (connected)
    timer_.start(kDayCheck);
  else
    timer_.stop();
}

void PlanKeeper::ScheduleRead() {
  checkDue_ = true;
  timer_.start(kReadCheck);
}

void PlanKeeper::Tick() {
  if (!Holding()) return;
  const PlanResult status = Status();
  if (!status.plan || status.plan->state != AcclimationPlan::State::Running) {
    checkDue_ = false;
    timer_.start(kDayCheck);
    return;
  }
  if (!checkDue_) {
    if (status.kind != PlanResult::Kind::Due) return;
    // A new day: the step is written over what the board holds now.
    context_.Store().Raise(request::ReadSchedule);
    checkDue_ = true;
    timer_.start(kReadCheck);
    return;
  }
  if (!Settled()) return;
  checkDue_ = false;
  timer_.start(kDayCheck);
  Report(Run([&](PlanBoard& board) { return ApplyPlan(Home(), board, Calendar(today())); }));
}

PlanResult PlanKeeper::Status() const {
  return PlanStatus(Home(), Calendar(today()));
}

PlanResult PlanKeeper::Run(const std::function<PlanResult(PlanBoard&)>& job) {
  StoreBoard board(*this);
  return job(board);
}

PlanResult PlanKeeper::Start(const PlanSettings& settings) {
  PlanResult r = Run([&](PlanBoard& board) { return StartPlan(Home(), board, Calendar(today()), settings); });
  Report(r);
  return r;
}

PlanResult PlanKeeper::Cancel() {
  PlanResult r = Run([&](PlanBoard& board) { return CancelPlan(Home(), board, Calendar(today())); });
  Report(r);
  return r;
}

PlanResult PlanKeeper::Resume() {
  PlanResult r = Run([&](PlanBoard& board) { return ResumePlan(Home(), board, Calendar(today())); });
  Report(r);
  return r;
}

void PlanKeeper::Report(const PlanResult& result) {
  if (!result.log.empty()) context_.AddLogLine(result.log);
  if (result.kind == PlanResult::Kind::Failed && !result.problem.empty())
    context_.AddLogLine(result.problem);
  if (result.alert && alert) alert(result.log);
}

void PlanKeeper::EditSeen() {
  const std::string error = AdoptScheduleEdit(Home(), context_.Store().schedule, today());
  if (!error.empty()) context_.AddLogLine(error);
}

}  // namespace vmx
