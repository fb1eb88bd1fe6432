// TthdCom: the one thread that owns the serial port. It connects, identifies
// the board and then serves the request word pass by pass, handing every
// received record and every message to the UI thread.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "link/link_host.h"
#include "link/link_timing.h"
#include "link/serial_port.h"
#include "link/shared_store.h"
#include "link/wire_protocol.h"

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
  void SetPort(const std::string& port, bool debug);
  // Asks the worker to end; a transaction on the line is cut short.
  void Terminate();
  bool Terminated() const { return terminated_; }
  // Set when the run has ended.
  bool LinkClosed() const { return linkClosed_; }
  // Waits until the run has ended or `timeout` passed; returns LinkClosed().
  bool WaitClosed(std::chrono::milliseconds timeout);
  std::string PortName() const;

 private:
  TthdCom(SharedStore& store, LinkHost& host, LinkTiming timing, PortFactory makePort);
  void Run();
  // The steps of the run; each returns false when the worker is to end.
  bool Reconnect();
  bool Open();
  void Identify();
  bool Pass();
  bool ServeRequests();
  void ServeSchedule();
  void ServeBootloader();
  void RunFirmwareUpdate();
  void End();

  bool WaitSteps(int steps);  // false when terminated meanwhile
  bool Taken(uint32_t bit);   // tests the bit under the lock
  bool TakeAndClear(uint32_t bit);
  bool GetRecord(std::string_view command, std::string_view trace, size_t length);
  bool SetRecord(std::string_view command, std::string_view trace, size_t length);
  bool Action(std::string_view trace, uint8_t action, uint32_t bit);
  void AfterFailure(bool ok);

  // Hand-offs.
  void Log(const std::string& text);
  void Status(const std::string& text);
  void State(bool connected);
  void Accept(const std::function<void()>& copy, PageUpdate page);

  SharedStore& store_;
  LinkHost& host_;
  LinkTiming timing_;
  PortFactory makePort_;
  std::unique_ptr<SerialPort> port_;
  std::unique_ptr<WireProtocol> proto_;

  mutable std::mutex nameLock_;
  std::string portName_;
  std::atomic<bool> debug_{false};
  std::atomic<bool> terminated_{false};
  std::atomic<bool> linkClosed_{false};

  uint8_t deviceType_ = 0xFF;
  uint8_t firmwareVersion_ = 0xFF;
  bool firmwareState_ = false;
  bool bootloaderState_ = false;
  BootInfo bootInfo_;
  int passCounter_ = 0;

  std::mutex doneLock_;
  std::condition_variable done_;
  std::thread thread_;
};

}  // namespace vmx
