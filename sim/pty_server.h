// Serves a SimBoard on a pseudo-terminal, as a board on a serial line would.
#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

#include "sim/sim_board.h"

namespace vmx::sim {

class PtyServer {
 public:
  enum class Direction { In, Out };
  using TrafficFn = std::function<void(Direction, std::string_view)>;

  // With a `linkPath`, that path is kept as a symbolic link to the current pty,
  // so a client finds the board again after a hang-up.
  explicit PtyServer(SimBoard& board, std::string linkPath = {});
  ~PtyServer();
  PtyServer(const PtyServer&) = delete;
  PtyServer& operator=(const PtyServer&) = delete;

  // Creates the pty and starts serving; throws std::runtime_error on failure.
  void Start();
  void Stop();

  // The pty device the board is on now.
  std::string DevicePath() const;
  // What a client should open: the link when there is one, else the device.
  std::string PortPath() const;

  // The device vanishes now; with a non-negative `backAfter` a new one appears
  // after that long (under the same link path).
  void HangUp(std::chrono::milliseconds backAfter);
  // How long the device stays away after a hang-up fault.
  void SetHangUpDowntime(std::chrono::milliseconds d) { downtime_ = d; }

  void SetTrafficObserver(TrafficFn fn);

  // Paces the line as a serial line of `baud` 8N1 would (0: as fast as the pty
  // goes): a line counts as received once all its bytes could have arrived, and
  // the reply arrives after the time its bytes take.
  void SetLineRate(int baud) { baud_ = baud; }

 private:
  void Run();
  void OpenPty();
  void ClosePty();
  // `begun`: when the line's first byte was read. False once the device hung up.
  bool ServeLine(const std::string& line, std::chrono::steady_clock::time_point begun);
  void Notify(Direction d, std::string_view bytes);

  SimBoard& board_;
  std::string linkPath_;
  mutable std::mutex lock_;  // guards the descriptors and paths
  int master_ = -1;
  int slave_ = -1;  // held open so the master sees no hang-up between clients
  std::string devicePath_;
  int wake_[2] = {-1, -1};
  std::atomic<bool> stop_{false};
  std::thread thread_;
  std::chrono::steady_clock::time_point reopenAt_{};
  bool reopenPending_ = false;
  std::chrono::milliseconds downtime_{1000};
  std::atomic<int> baud_{0};
  std::chrono::steady_clock::time_point lineFree_{};  // the paced line is busy until then
  std::mutex trafficLock_;
  TrafficFn traffic_;
};

}  // namespace vmx::sim
