// The window's hand on the acclimation plan of the board it holds: today's
// step written when the board's schedule has been read and on each new day,
// a schedule changed behind the plan's back noticed (the plan pauses, with a
// log line and an alert), and the window's own schedule edits taken into the
// plan's target. The rules are the core's (planning/); this class only
// decides when to ask, through the shared records and the link worker.
#pragma once

#include <QObject>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <string>

#include "persist/held_boards.h"
#include "planning/plan_applier.h"

namespace vmx {

class PageContext;

class PlanKeeper final : public QObject {
  Q_OBJECT

 public:
  PlanKeeper(PageContext& context, QObject* parent);
  ~PlanKeeper() override;

  // Where plans are kept; the user's data folder.
  std::filesystem::path root;
  // The computer's calendar, days since 1970-01-01.
  std::function<long long()> today;
  // A desktop alert for a plan that paused.
  std::function<void(const std::string&)> alert;
  // Whether the tank service holds this board: it then applies the board's
  // plan itself and the window leaves it alone.
  std::function<bool(const std::string& boardId)> serviceHolds = [](const std::string& id) {
    return ServiceHolds(id, HeldFolders());
  };

  // The board's schedule has been read and shown.
  void ScheduleRead();
  void LinkState(bool connected);

  // The plan of the board on the window's port, as stored.
  PlanResult Status() const;
  PlanResult Start(const PlanSettings& settings);
  PlanResult Cancel();
  PlanResult Resume();

  // Once a minute: a new day of a running plan asks for the board's schedule
  // anew; a read that has come is checked against the plan. Public for tests.
  void Tick();

 private:
  class StoreBoard;

  PlanHome Home() const;
  bool Holding() const;
  // The schedule on the PC is the board's, not a read or a write on its way.
  bool Settled() const;
  PlanResult Run(const std::function<PlanResult(PlanBoard&)>& job);
  void Report(const PlanResult& result);
  void EditSeen();

  PageContext& context_;
  QTimer timer_;
  int listener_ = -1;
  bool writing_ = false;   // the plan's own rows go into the records
  bool checkDue_ = false;  // a read of the schedule is awaited or has come
};

}  // namespace vmx
