// The window's one Bluetooth worker: started from the Connection menu, its
// log lines handed to the window. A finished or replaced worker goes to the
// reaper with everything it uses, so the window never waits for it.
#pragma once

#include <QString>
#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include "bluetooth/discover.h"

namespace vmx {

class HandOffQueue;
class WorkerReaper;

class BluetoothRuns {
 public:
  struct Hooks {
    std::function<void(const std::string&)> log;
    std::function<void()> bringToFront;
  };
  struct Options {
    QString bus;  // the bus carrying bluetoothd; empty: the system bus
    std::function<std::unique_ptr<RfcommBinder>()> makeBinder;  // default: the kernel's
    DiscoverTiming timing;
  };

  BluetoothRuns(std::shared_ptr<HandOffQueue> queue, WorkerReaper& reaper, Hooks hooks,
                Options options);
  ~BluetoothRuns();
  BluetoothRuns(const BluetoothRuns&) = delete;
  BluetoothRuns& operator=(const BluetoothRuns&) = delete;

  // A worker exists and has not finished.
  bool Running() const;
  // The current worker, finished or not; null before the first run.
  const TthdDiscover* Worker() const;
  // A new run; callers check first that none is running.
  void Start(bool install);
  void Terminate();

 private:
  struct Session;
  void Retire();

  std::shared_ptr<HandOffQueue> queue_;
  WorkerReaper& reaper_;
  Hooks hooks_;
  Options options_;
  std::shared_ptr<Session> session_;
};

}  // namespace vmx
