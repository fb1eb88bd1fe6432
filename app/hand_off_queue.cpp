#include "app/hand_off_queue.h"

#include <QMetaObject>
#include <QThread>
#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <vector>

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
  std::vector<std::shared_ptr<Pending>> waiting;

  void Finish(const std::shared_ptr<Pending>& p) {
    {
      std::lock_guard g(lock);
      p->done = true;
      std::erase(waiting, p);
    }
    changed.notify_all();
  }
};

HandOffQueue::HandOffQueue(QObject* context)
    : context_(context), uiThread_(context->thread()), state_(std::make_shared<State>()) {}

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
  // Posting under the lock: once Close has run, nothing reaches the context,
  // which may be on its way out.
  if (state_->closed) return false;
  const bool posted = QMetaObject::invokeMethod(
      context_,
      [state = state_, pending] {
        {
          std::lock_guard g(state->lock);
          if (pending->dropped) return;
        }
        // A job that throws still releases its worker before the exception
        // travels on to the event loop.
        struct Release {
          State& state;
          const std::shared_ptr<Pending>& p;
          ~Release() { state.Finish(p); }
        } release{*state, pending};
        pending->job();
      },
      Qt::QueuedConnection);
  if (!posted) return false;
  state_->waiting.push_back(pending);
  state_->changed.wait(g, [&] { return pending->done || pending->dropped; });
  return pending->done;
}

void HandOffQueue::Close() {
  {
    std::lock_guard g(state_->lock);
    state_->closed = true;
    for (auto& p : state_->waiting) p->dropped = true;
    state_->waiting.clear();
  }
  state_->changed.notify_all();
}

bool HandOffQueue::Closed() const {
  std::lock_guard g(state_->lock);
  return state_->closed;
}

}  // namespace vmx
