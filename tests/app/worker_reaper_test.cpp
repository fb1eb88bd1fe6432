#include "app/worker_reaper.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace vmx {
namespace {

using namespace std::chrono_literals;

TEST(WorkerReaper, DisposesOffTheCallingThreadAndWaitsAtTheEnd) {
  std::atomic<int> disposed{0};
  std::atomic<bool> release{false};
  const std::thread::id caller = std::this_thread::get_id();
  std::atomic<bool> elsewhere{true};
  {
    WorkerReaper reaper;
    for (int i = 0; i < 3; ++i) {
      reaper.Adopt([&] {
        // A worker still handing off its last reports holds its disposal up.
        while (!release) std::this_thread::sleep_for(1ms);
        if (std::this_thread::get_id() == caller) elsewhere = false;
        ++disposed;
      });
    }
    EXPECT_EQ(disposed, 0) << "Adopt does not wait";
    release = true;
  }
  EXPECT_EQ(disposed, 3);
  EXPECT_TRUE(elsewhere);
}

TEST(WorkerReaper, FinishedDisposalsAreJoinedAsNewOnesCome) {
  WorkerReaper reaper;
  reaper.Adopt([] {});
  for (int i = 0; i < 200 && reaper.Pending() > 0; ++i) std::this_thread::sleep_for(5ms);
  EXPECT_EQ(reaper.Pending(), 0u);
}

}  // namespace
}  // namespace vmx
