// A serial port that keeps count of what went over the line: every Set with
// whether the board acknowledged it, and every identification. The worker
// identifies the board again only after a failed transaction (or when asked
// for another port), so an identification after the first one means one failed.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "link/serial_port.h"
#include "platform/mutex.h"

namespace vmx::cli {

class LineWatch final : public SerialPort {
 public:
  // A Set as it went out: "02", or with its row or action byte ("0303", "7F01").
  struct SetResult {
    std::string key;
    bool acknowledged = false;
  };

  explicit LineWatch(std::unique_ptr<SerialPort> port) : port_(std::move(port)) {}

  void Open(const std::string& name) override { port_->Open(name); }
  void Close() override { port_->Close(); }
  bool IsOpen() const override { return port_->IsOpen(); }
  const std::string& Name() const override { return port_->Name(); }
  void Purge() override { port_->Purge(); }
  void Write(std::span<const uint8_t> data, std::chrono::milliseconds timeout) override;
  size_t Read(std::span<uint8_t> buffer, std::chrono::milliseconds timeout) override;
  void Interrupt() override { port_->Interrupt(); }

  // Any thread (the worker writes and reads the line, a command looks on).
  int Identifications() const EXCLUDES(lock_);
  std::vector<SetResult> Sets() const EXCLUDES(lock_);
  // A Set has gone out and its answer is still awaited.
  bool SetPending() const EXCLUDES(lock_);

 private:
  void Answered(bool acknowledged) EXCLUDES(lock_);

  std::unique_ptr<SerialPort> port_;  // the worker's, as any port is
  mutable Mutex lock_;
  int identifications_ GUARDED_BY(lock_) = 0;
  std::string pendingSet_ GUARDED_BY(lock_);  // key of the Set awaiting its acknowledgement
  std::vector<SetResult> sets_ GUARDED_BY(lock_);
};

}  // namespace vmx::cli
