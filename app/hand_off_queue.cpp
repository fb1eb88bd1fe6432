#include "app/hand_off_queue.h"

#include <QMetaObject>
#include <QThread>
#include <QTimer>
#include <deque>

#include "platform/mutex.h"

namespace vmx {

// One job: its worker waits on `done` or `dropped`, both under State::lock.
struct HandOffQueue::Pending {
  std::function<void()> job;  // set before it is queued, run on the UI thread
  bool done = false;
  bool dropped = false;
};

// Shared by the workers that queue jobs and the UI thread that runs them.
struct HandOffQueue::State {
  Mutex lock;
  CondVar changed;
  bool closed GUARDED_BY(lock) = false;
  std::deque<std::shared_ptr<Pending>> queued GUARDED_BY(lock);

  // UI thread: runs every job queued so far, oldest first.
  void Drain() {
    for (;;) {
      std::shared_ptr<Pending> p;
      {
        MutexLock g(lock);
        if (queued.empty()) return;
        p = std::move(queued.front());
        queued.pop_front();
      }
      // A job that throws still releases its worker before the exception
      // travels on to the event loop.
      struct Release {
        State& state;
        Pending& p;
        ~Release() {
          {
            MutexLock g(state.lock);
            p.done = true;
          }
          state.changed.NotifyAll();
        }
      } release{*this, *p};
      p->job();
    }
  }
};

HandOffQueue::HandOffQueue(QObject* context)
    : uiThread_(context->thread()), wake_(new QTimer(context)), state_(std::make_shared<State>()) {
  wake_->setSingleShot(true);
  wake_->setInterval(0);
  QObject::connect(wake_, &QTimer::timeout, wake_, [state = state_] { state->Drain(); });
}

HandOffQueue::~HandOffQueue() {
  Close();
}

bool HandOffQueue::Run(const std::function<void()>& job) {
  if (QThread::currentThread() == uiThread_) {
    // Already on the UI thread: waiting for ourselves would never end.
    if (Closed()) return false;
    job();
    return true;
  }
  auto pending = std::make_shared<Pending>();
  pending->job = job;
  State& state = *state_;
  MutexLock g(state.lock);
  // Posting under the lock: once Close has run, nothing reaches the timer,
  // which goes with the window.
  if (state.closed) return false;
  state.queued.push_back(pending);
  QMetaObject::invokeMethod(wake_, "start", Qt::QueuedConnection);
  while (!pending->done && !pending->dropped) state.changed.Wait(state.lock);
  return pending->done;
}

void HandOffQueue::Close() {
  State& state = *state_;
  {
    MutexLock g(state.lock);
    state.closed = true;
    for (auto& p : state.queued) p->dropped = true;
    state.queued.clear();
  }
  state.changed.NotifyAll();
}

bool HandOffQueue::Closed() const {
  State& state = *state_;
  MutexLock g(state.lock);
  return state.closed;
}

}  // namespace vmx
