// Runs worker jobs on the UI thread while the worker waits. Once closed, a
// hand-off returns false at once and every worker still waiting is released
// with its job dropped, so a window that goes away never leaves a worker
// hanging and never runs a job whose worker stopped waiting for it.
//
// In the window this queue is what makes a hand-off (LinkHost::HandOff) run
// as the UI thread. Its own state (the queue, the closed flag, each job's
// done and dropped marks) lives under one lock; a waiting worker holds no
// other lock, and the UI thread never waits here.
#pragma once

#include <functional>
#include <memory>

class QObject;
class QThread;
class QTimer;

namespace vmx {

class HandOffQueue {
 public:
  // `context` lives on the UI thread; jobs run in its event loop.
  explicit HandOffQueue(QObject* context);
  ~HandOffQueue();
  HandOffQueue(const HandOffQueue&) = delete;
  HandOffQueue& operator=(const HandOffQueue&) = delete;

  // Any thread: runs `job` on the UI thread, in the order issued, and returns
  // true once it has run; false without running it when the queue is closed.
  bool Run(const std::function<void()>& job);

  // UI thread.
  void Close();
  bool Closed() const;

 private:
  struct State;
  struct Pending;
  QThread* uiThread_;
  // Started from the worker by name, so that nothing the worker builds
  // crosses to the UI thread except through the queue's own lock.
  QTimer* wake_;
  std::shared_ptr<State> state_;
};

}  // namespace vmx
