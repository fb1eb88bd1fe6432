#include "app/hand_off_queue.h"

#include <QMetaObject>
#include <QThread>
#include <QTimer>
#include <condition_variable>
#include <deque>
#include <mutex>

namespace vmx {

struct HandOffQueue::Pending {
  std::function<void()> job;
  bool done = false;
  bool dropped = false;
};

struct HandOffQueue::State {
  std::mutex lock;
  std::condition_variable changed;
  bool closed = false;
  std::deque<std::shared_ptr<Pending>> queued;

  // UI thread: runs every job queued so far, oldest first.
  void Drain() {
    for (;;) {
      std::shared_ptr<Pending> p;
      {
        std::lock_guard g(lock);
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
            std::lock_guard g(state.lock);
            p.done = true;
          }
          state.changed.notify_all();
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
  std::unique_lock g(state_->lock);
  // Posting under the lock: once Close has run, nothing reaches the timer,
  // which goes with the window.
  if (state_->closed) return false;
  state_->queued.push_back(pending);
  QMetaObject::invokeMethod(wake_, "start", Qt::QueuedConnection);
  state_->changed.wait(g, [&] { return pending->done || pending->dropped; });
  return pending->done;
}

void HandOffQueue::Close() {
  {
    std::lock_guard g(state_->lock);
    state_->closed = true;
    for (auto& p : state_->queued) p->dropped = true;
    state_->queued.clear();
  }
  state_->changed.notify_all();
}

bool HandOffQueue::Closed() const {
  std::lock_guard g(state_->lock);
  return state_->closed;
}

}  // namespace vmx
