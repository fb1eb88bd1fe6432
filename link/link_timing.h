// Every wait of the link worker, in one place, so tests can run it faster.
#pragma once

#include <chrono>

namespace vmx {

struct LinkTiming {
  std::chrono::milliseconds pass{20};               // sleep at the end of every pass
  int refreshPasses = 25;                           // ReadInfo + ReadConfig every this many passes
  std::chrono::milliseconds terminationCheck{100};  // waits are cut into steps this long
  int waitSteps = 10;                               // steps of the 1 s waits (openings, no device)
  int openAttempts = 5;
  int identifyAttempts = 5;
  std::chrono::milliseconds serialTimeout{5000};     // every read and write on the line
  std::chrono::milliseconds bootloaderRestart{500};  // after StartBootloader
  std::chrono::milliseconds blockRetry{500};         // after a firmware block that failed
};

}  // namespace vmx
