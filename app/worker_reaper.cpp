#include "app/worker_reaper.h"

namespace vmx {

WorkerReaper::~WorkerReaper() {
  std::lock_guard g(lock_);
  for (Disposal& d : disposals_) d.thread.join();
}

void WorkerReaper::Adopt(std::function<void()> dispose) {
  std::lock_guard g(lock_);
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
  std::lock_guard g(lock_);
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
