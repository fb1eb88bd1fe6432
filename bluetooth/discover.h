// TthdDiscover: the Bluetooth worker. One run per object, on its own thread:
// either it searches for boards nearby, pairs them and gives them a serial
// port (installation), or it removes the paired boards again (removal). It
// only ever writes lines to the message log, through the host's hand-offs.
#pragma once

#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <thread>

#include "bluetooth/bluetooth.h"
#include "bluetooth/discover_host.h"
#include "bluetooth/rfcomm_binder.h"
#include "platform/mutex.h"

namespace vmx {

struct DiscoverTiming {
  std::chrono::milliseconds inquiry{6400};  // 5 x 1.28 s of radio search
  std::chrono::milliseconds retryWait{2000};
};

class TthdDiscover {
 public:
  static constexpr const char* kBoardName = "Velmarinex2";
  static constexpr const char* kPin = "7391";
  static constexpr const char* kSerialPortService = "00001101-0000-1000-8000-00805f9b34fb";

  // Starts the run at once. Every part must outlive the object.
  static std::unique_ptr<TthdDiscover> Create(bool install, Bluetooth& bluetooth,
                                              RfcommBinder& binder, DiscoverHost& host,
                                              DiscoverTiming timing = {});
  ~TthdDiscover();  // terminates and joins
  TthdDiscover(const TthdDiscover&) = delete;
  TthdDiscover& operator=(const TthdDiscover&) = delete;

  bool Install() const { return install_; }
  // Set when the run has ended, also after an error or a termination.
  bool Finished() const { return finished_; }
  // Asks the run to end; a pending platform call is cut short.
  void Terminate();
  // Waits until the run has ended or `timeout` passed; returns Finished().
  bool WaitFinished(std::chrono::milliseconds timeout);

 private:
  TthdDiscover(bool install, Bluetooth& bluetooth, RfcommBinder& binder, DiscoverHost& host,
               DiscoverTiming timing);

  void Run();
  void InstallRun();
  void RemovalRun();
  void InstallDevice(const BtDevice& found);
  // Reads the device until it has sent its name; false when it never did.
  bool ReadName(const std::string& id, BtDevice& device);
  // A board paired before this run keeps its pairing whatever happens here.
  void InstallSerialPort(const BtDevice& device, bool pairedNow);
  BtResult EnableSerialPort(const std::string& id);
  bool Bound(const std::string& address, bool& bound);
  void RemoveBoard(const BtDevice& device);
  // Up to five attempts; true when the device is gone.
  bool Uninstall(const BtDevice& device);
  BtResult UninstallOnce(const BtDevice& device);

  bool Wait(std::chrono::milliseconds d);  // false when terminated meanwhile
  bool Retry();                            // the wait after a failed attempt
  bool Running() const { return !terminated_; }
  void Log(const std::string& text);
  void LogError(const BtError& error);
  void BringToFront();

  const bool install_;
  Bluetooth& bluetooth_;
  RfcommBinder& binder_;
  DiscoverHost& host_;
  const DiscoverTiming timing_;

  std::atomic<bool> terminated_{false};
  std::atomic<bool> finished_{false};
  // Written under wakeLock_ so that a waiter cannot miss the change.
  Mutex wakeLock_;
  CondVar wake_;
  std::thread thread_;
};

}  // namespace vmx
