// Disposes of finished link workers off the UI thread. A worker that has
// just ended may still be handing its last reports to the UI thread, so
// joining it there could wait on itself; here each disposal runs on its own
// thread while the UI thread carries on delivering those reports.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace vmx {

class WorkerReaper {
 public:
  WorkerReaper() = default;
  ~WorkerReaper();  // waits for every disposal
  WorkerReaper(const WorkerReaper&) = delete;
  WorkerReaper& operator=(const WorkerReaper&) = delete;

  void Adopt(std::function<void()> dispose);
  // Disposals not yet finished.
  size_t Pending();

 private:
  struct Disposal {
    std::thread thread;
    std::shared_ptr<std::atomic<bool>> done;
  };
  void JoinFinished();

  std::mutex lock_;
  std::vector<Disposal> disposals_;
};

}  // namespace vmx
