// The simulated board as it answers on its serial line: the application
// firmware's commands, the bootloader's commands, and faults on request.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sim/board_state.h"
#include "sim/fault.h"

namespace vmx::sim {

struct BoardOptions {
  int rows = 12;
  uint8_t type = 5;
  uint8_t version = 4;
  // The bootloader's flash geometry; the last 1024 bytes hold the bootloader.
  uint16_t pageSize = 128;
  uint32_t flashSize = 32768;
  bool inBootloader = false;  // starts in its bootloader, as after a broken update
  bool jumper = false;        // the bootloader jumper is set: a reset comes back into it
  // The application version an image brings once written (0: it keeps `version`).
  uint8_t versionAfterUpdate = 0;
};

// What goes back for one received line.
struct Reply {
  std::string bytes;  // may be empty: nothing is sent
  std::chrono::milliseconds delay{0};
  bool hangUp = false;  // the device vanishes instead
};

class SimBoard {
 public:
  explicit SimBoard(BoardOptions options = {});

  // One line as received, without its terminator.
  Reply Handle(std::string_view line);

  // The next `count` lines (that start with `command`, when given) get `fault`.
  void InjectFault(Fault fault, int count = 1, std::string command = {},
                   std::chrono::milliseconds delay = std::chrono::milliseconds(0));
  void ClearFaults();
  // GetDevice answers with this identity from now on.
  void SetIdentity(uint8_t type, uint8_t version);
  bool InBootloader() const;
  void SetJumper(bool set);
  void SetGeometry(uint16_t pageSize, uint32_t flashSize);
  // The 64 KiB the bootloader writes into; erased flash reads 0xFF.
  std::vector<uint8_t> Flash() const;
  // Blocks the bootloader was asked to write at or past its own first byte.
  int BlocksIntoBootloader() const;

  // Every line received so far, in order.
  std::vector<std::string> Lines() const;
  size_t LineCount() const;
  void ClearLines();
  // Waits until `pred(lines)` holds or `timeout` passes; returns whether it held.
  bool WaitFor(const std::function<bool(const std::vector<std::string>&)>& pred,
               std::chrono::milliseconds timeout) const;

  // Runs `f` on the board's state under its lock (tests read and change records).
  template <class F>
  auto With(F&& f) {
    std::lock_guard g(lock_);
    return f(state_);
  }

 private:
  struct PendingFault {
    Fault fault;
    int count;
    std::string command;
    std::chrono::milliseconds delay;
  };

  Reply Serve(std::string_view line);
  Reply ServeApplication(std::string_view command, std::string_view hex);
  Reply ServeBootloader(std::string_view command, std::string_view hex);
  // The first pending fault for `line`, its count taken; nullopt when none.
  std::optional<PendingFault> TakeFault(std::string_view line);
  Reply ApplyFaults(const PendingFault& fault, Reply reply, bool isGet);

  mutable std::mutex lock_;
  mutable std::condition_variable lineArrived_;
  BoardOptions options_;
  BoardState state_;
  bool bootloader_ = false;
  bool written_ = false;  // a block has been written since the bootloader started
  int blocksIntoBootloader_ = 0;
  size_t scheduleCursor_ = 0;  // the row the next GetSchedule brings
  std::deque<PendingFault> faults_;
  std::vector<std::string> lines_;
};

}  // namespace vmx::sim
