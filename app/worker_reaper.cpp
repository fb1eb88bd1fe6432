#include "app/worker_reaper.h"

namespace vmx {

WorkerReaper::~WorkerReaper() {
  MutexLock g(lock_);
  for (Disposal& d : disposals_) d.thread.join();
}

void WorkerReaper::Adopt(std::function<void()> dispose) {
  MutexLock g(lock_);
  JoinFinished();
  auto done = std::make_shared<std::atomic<bool>>(false);
  std::thread t([dispose = std::move(dispose), done]() mutable {
    dispose();
    dispose = nullptr;
    *done = true;
  });
  disposals_.push_back({std::move(t), std::move(done)});
}

size_t WorkerReaper::Pending() {
  MutexLock g(lock_);
  JoinFinished();
  return disposals_.size();
}

void WorkerReaper::JoinFinished() {
  std::erase_if(disposals_, [](Disposal& d) {
    if (!*d.done) return false;
    d.thread.join();
    return true;
  });
}

}  // namespace vmx
