// Closing the window while the link is busy, the hand-off queue's promises,
// and stray exceptions.
#include <gmock/gmock.h>

#include <QTimer>
#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>

#include "app/hand_off_queue.h"
#include "tests/app/window_fixture.h"

namespace vmx::testing {
namespace {

using namespace std::chrono_literals;

class ShutdownTest : public WindowTest {};

TEST_F(ShutdownTest, ClosingDuringATransactionEndsWithinASecond) {
  StartOptions o = Options({pty});
  o.timing.serialTimeout = 5000ms;  // what a real board gets
  window = std::make_unique<TfrmLantix>(std::move(o));
  ASSERT_TRUE(WaitFullRead(pty));
  board.ClearLines();
  board.InjectFault(sim::Fault::Delay, 1, "81", 6000ms);
  // The UI thread keeps serving hand-offs while it waits, as it always does.
  ASSERT_TRUE(QTest::qWaitFor(
      [&] {
        const std::vector<std::string> lines = board.Lines();
        return !lines.empty() && lines.back() == "81";
      },
      5000));
  const auto start = std::chrono::steady_clock::now();
  window->close();
  window.reset();
  EXPECT_LT(std::chrono::steady_clock::now() - start, 3000ms) << "the 6 s reply was not waited for";
}

TEST_F(ShutdownTest, ClosingWhileAWorkerWaitsForTheWindowReleasesIt) {
  Open({});
  HandOffQueue queue(window.get());
  std::atomic<int> result{-1};
  std::atomic<bool> ran{false};
  std::thread worker([&] { result = queue.Run([&] { ran = true; }) ? 1 : 0; });
  // The UI thread is busy elsewhere: the job waits in the event queue.
  std::this_thread::sleep_for(50ms);
  queue.Close();
  worker.join();
  EXPECT_EQ(result, 0);
  QTest::qWait(20);
  EXPECT_FALSE(ran) << "a dropped job never runs later";
  EXPECT_FALSE(queue.Run([] {})) << "closed: refused at once";
}

TEST_F(ShutdownTest, HandOffsRunOnTheUiThreadInOrder) {
  Open({});
  HandOffQueue queue(window.get());
  std::vector<int> order;
  std::atomic<bool> onUi{true};
  const std::thread::id ui = std::this_thread::get_id();
  std::atomic<bool> done{false};
  std::thread worker([&] {
    for (int i = 0; i < 20; ++i)
      queue.Run([&, i] {
        if (std::this_thread::get_id() != ui) onUi = false;
        order.push_back(i);
      });
    done = true;
  });
  EXPECT_TRUE(QTest::qWaitFor([&] { return done.load(); }, 5000));
  worker.join();
  ASSERT_EQ(order.size(), 20u);
  for (int i = 0; i < 20; ++i) EXPECT_EQ(order[i], i);
  EXPECT_TRUE(onUi);
}

TEST_F(ShutdownTest, AJobThatThrowsStillReleasesItsWorker) {
  Open({});
  HandOffQueue queue(window.get());
  std::atomic<bool> done{false};
  std::thread worker([&] {
    queue.Run([] { throw std::runtime_error("Hand-off failed"); });
    done = true;
  });
  EXPECT_TRUE(QTest::qWaitFor([&] { return done.load(); }, 5000));
  worker.join();
  EXPECT_TRUE(Log().contains("Hand-off failed"));
}

TEST_F(ShutdownTest, StrayExceptionIsLoggedAndTheProgramGoesOn) {
  Open({});
  QTimer::singleShot(0, window.get(), [] { throw std::runtime_error("Stray failure"); });
  EXPECT_TRUE(WaitForLog("Stray failure"));
  window->ShowPage(window->PageNamed("tsConfig"));
  EXPECT_EQ(CurrentPage(), "tsConfig");
}

}  // namespace
}  // namespace vmx::testing
