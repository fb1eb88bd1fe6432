// TthdCom: the one thread that owns the serial port. It connects, identifies
// the board and then serves the request word pass by pass, handing every
// received record and every message to the UI thread.
//
// Threads: the public calls come from the UI thread (the owner); everything
// else runs on the worker's own thread. The worker touches the shared store
// only through its request word and row marks (under the store's lock), and
// reaches the records only inside hand-offs (OnUi), which run on the UI
// thread while the worker waits. It never holds a lock across a transaction
// or a hand-off.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "link/link_host.h"
#include "link/link_timing.h"
#include "link/serial_port.h"
#include "link/shared_store.h"
#include "link/wire_protocol.h"
#include "platform/mutex.h"

namespace vmx {

class TthdCom {
 public:
  using PortFactory = std::function<std::unique_ptr<SerialPort>()>;

  // Starts the worker at once on `port` (the text is cut at its first blank).
  static std::unique_ptr<TthdCom> Create(const std::string& port, bool debug, SharedStore& store,
                                         LinkHost& host, LinkTiming timing = {},
                                         PortFactory makePort = {});
  ~TthdCom();  // terminates and joins; never destroyed while its thread runs
  TthdCom(const TthdCom&) = delete;
  TthdCom& operator=(const TthdCom&) = delete;

  // A running worker notices a changed name at its next pass and reconnects.
  void SetPort(const std::string& port, bool debug) EXCLUDES(nameLock_, wakeLock_);
  // Asks the worker to end at the end of its pass, or sooner inside a wait.
  void Terminate() EXCLUDES(wakeLock_);
  // Terminate, and cut a transaction on the line short: for a program that is closing.
  void Abort() EXCLUDES(wakeLock_, portLock_);
  bool Terminated() const { return terminated_; }
  // Set when the run has ended.
  bool LinkClosed() const { return linkClosed_; }
  // Waits until the run has ended or `timeout` passed; returns LinkClosed().
  bool WaitClosed(std::chrono::milliseconds timeout) EXCLUDES(wakeLock_);
  std::string PortName() const EXCLUDES(nameLock_);

 private:
  TthdCom(SharedStore& store, LinkHost& host, LinkTiming timing, PortFactory makePort);
  enum class Next { Stay, Reconnect, End };

  void Run();
  bool Connect();  // reconnect and open; false when the worker is to end
  void Identify();
  void TakeIdentity(uint8_t type, uint8_t version);  // acts on a changed identification
  Next Pass();
  Next ServeRequests();
  Next ServeSchedule();
  // Reads the board's RC-5 codes when an IR pairing made the PC's stale;
  // false when that read failed and the Expert write is to wait.
  bool FreshRc5Codes();
  // Step u: into the bootloader, or, already there, the firmware update. Lives
  // in thd_com_bootloader.cpp with the worker's side of the update.
  void ServeBootloader();
  friend class WorkerFirmwareLink;
  void End();

  bool Wait(std::chrono::milliseconds d) EXCLUDES(wakeLock_);  // false when terminated meanwhile
  // The end of a pass: sleeps until a request is raised, the periodic refresh
  // is due, the port changes or the worker is told to end; with work left over
  // from the pass (more marked rows), one pass pause at most.
  void Sleep() EXCLUDES(wakeLock_);
  enum class Wake { Request, Port };
  void WakeUp(Wake reason) EXCLUDES(wakeLock_);
  std::chrono::steady_clock::duration RefreshPeriod() const;
  // A write that did not reach the board is raised again, while the same
  // board answers, until it has failed kWriteAttempts times in a row.
  bool TakeRetry(uint32_t bit, bool ok);
  // Runs `again` for a write to be sent again; a write given up is read back.
  void GiveUpOrRetry(uint32_t bit, bool ok, const std::function<void()>& again);
  std::string ShownPort() const;  // the port name as messages show it
  bool WaitSteps(int steps);
  // Whether `bit` is set and none of `blockers` is, tested under the lock.
  bool Wanted(uint32_t bit, uint32_t blockers = 0);
  bool Get(std::string_view command, std::string_view trace, size_t length);
  bool Set(std::string_view command, std::string_view trace, size_t length);
  void Action(std::string_view trace, uint8_t action, uint32_t bit);
  // A read whose failure makes the worker identify the device again.
  void Read(std::string_view command, std::string_view trace, size_t length,
            void (SharedStore::*accept)(std::span<const uint8_t>), RecordKind page);
  // The same, with status "Done." once it is over (chart and health).
  void ReadAndReport(std::string_view command, std::string_view trace, size_t length,
                     void (SharedStore::*accept)(std::span<const uint8_t>), RecordKind page);
  void Write(std::string_view command, std::string_view trace, size_t length,
             void (SharedStore::*prepare)(std::span<uint8_t>), uint32_t bit);
  void Trace(std::string_view name);
  // A failed transaction makes the worker identify the device again at once.
  void Check(bool ok);

  // Resets the request word, dropping every edit still pending, and says
  // which were dropped: the keeper would otherwise see them spring back.
  void DropRequests();

  // Hand-offs.
  void Log(const std::string& text);
  void Status(const std::string& text);
  void State(bool connected);
  bool OnUi(const std::function<void()>& job);  // false: the host is shutting down
  void Accept(const std::function<void()>& copy, RecordKind page);

  // Set at creation, then read-only.
  SharedStore& store_;
  LinkHost& host_;
  LinkTiming timing_;
  PortFactory makePort_;

  // The run's: created before the thread starts, used by the worker thread
  // alone and freed by End. Abort (UI thread) reaches for the port only to
  // interrupt a transaction; portLock_ keeps it from one End is freeing.
  Mutex portLock_;
  std::unique_ptr<SerialPort> port_;
  std::unique_ptr<WireProtocol> proto_;

  mutable Mutex nameLock_;
  std::string portName_ GUARDED_BY(nameLock_);  // set by SetPort (UI thread)
  std::atomic<bool> debug_{false};
  // Written under wakeLock_ so that a sleeper cannot miss the change.
  std::atomic<bool> terminated_{false};
  std::atomic<bool> linkClosed_{false};

  // The worker thread's alone.
  uint8_t deviceType_ = 0xFF;
  uint8_t firmwareVersion_ = 0xFF;
  bool firmwareState_ = false;
  bool bootloaderState_ = false;
  BootInfo bootInfo_;
  std::chrono::steady_clock::time_point lastRefresh_{};
  static constexpr int kWriteAttempts = 5;
  std::array<uint8_t, 32> failedWrites_{};  // failures in a row, by request bit
  int listener_ = 0;

  Mutex wakeLock_;
  CondVar wake_;  // termination, new requests, a new port, the end of the run
  bool raised_ GUARDED_BY(wakeLock_) = false;  // a request was raised since the last sleep
  bool portChanged_ GUARDED_BY(wakeLock_) = false;
  std::thread thread_;
};

}  // namespace vmx
