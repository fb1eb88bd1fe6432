// Disposes of finished link workers off the UI thread. A worker that has
// just ended may still be handing its last reports to the UI thread, so
// joining it there could wait on itself; here each disposal runs on its own
// thread while the UI thread carries on delivering those reports.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "platform/mutex.h"

namespace vmx {

class WorkerReaper {
 public:
  WorkerReaper() = default;
  ~WorkerReaper();  // waits for every disposal
  WorkerReaper(const WorkerReaper&) = delete;
  WorkerReaper& operator=(const WorkerReaper&) = delete;

  // UI thread.
  void Adopt(std::function<void()> dispose) EXCLUDES(lock_);
  // Disposals not yet finished.
  size_t Pending() EXCLUDES(lock_);

 private:
  struct Disposal {
    std::thread thread;
    std::shared_ptr<std::atomic<bool>> done;
  };
  void JoinFinished() REQUIRES(lock_);

  Mutex lock_;
  std::vector<Disposal> disposals_ GUARDED_BY(lock_);
};

}  // namespace vmx
