// The real link worker on the simulated board, with a host of the test's
// choosing standing in for the UI thread.
#pragma once

#include <chrono>
#include <memory>

#include "link/thd_com.h"
#include "tests/link/link_idle.h"
#include "tests/link/ui_thread_host.h"
#include "tests/support/board_on_pty.h"

namespace vmx::testing {

// Waits short enough for a test to see a whole connection cycle in a second.
inline LinkTiming FastLinkTiming() {
  using namespace std::chrono_literals;
  LinkTiming t;
  t.pass = 2ms;
  t.terminationCheck = 5ms;
  t.serialTimeout = 250ms;
  t.bootloaderRestart = 30ms;
  return t;
}

template <class Host = UiThreadHost>
class LinkOnPty : public BoardOnPty {
 public:
  using BoardOnPty::BoardOnPty;
  // The host refuses hand-offs first, so a worker waiting on one ends.
  ~LinkOnPty() {
    host.ShutDown();
    worker.reset();
  }

  void Start(bool debug = false, LinkTiming timing = FastLinkTiming()) {
    worker = TthdCom::Create(port, debug, store, host, timing);
  }
  // The status comes after the initial requests have been raised.
  bool Connected(size_t times = 1) {
    using namespace std::chrono_literals;
    return host.WaitForEvent("status: Connected to Velmarinex 2.x.4 on " + port, 5s, times);
  }
  bool WaitIdle() { return WaitLinkIdle(store, board); }

  SharedStore store;
  Host host;
  std::unique_ptr<TthdCom> worker;
};

}  // namespace vmx::testing
