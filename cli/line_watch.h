// A serial port that keeps count of what went over the line: every Set with
// whether the board acknowledged it, and every identification. The worker
// identifies the board again only after a failed transaction (or when asked
// for another port), so an identification after the first one means one failed.
#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "link/serial_port.h"

namespace vmx::cli {

class LineWatch final : public SerialPort {
 public:
  // A Set as it went out: "02", or with its row or action byte ("0303", "7F01").
  struct SetResult {
    std::string key;
    bool acknowledged = false;
  };

  // The key of the SetSchedule of schedule row `row`: "0303".
  static std::string RowSetKey(int row);

  explicit LineWatch(std::unique_ptr<SerialPort> port) : port_(std::move(port)) {}

  void Open(const std::string& name) override { port_->Open(name); }
  void Close() override { port_->Close(); }
  bool IsOpen() const override { return port_->IsOpen(); }
  const std::string& Name() const override { return port_->Name(); }
  void Purge() override { port_->Purge(); }
  void Write(std::span<const uint8_t> data, std::chrono::milliseconds timeout) override;
  size_t Read(std::span<uint8_t> buffer, std::chrono::milliseconds timeout) override;
  void Interrupt() override { port_->Interrupt(); }

  int Identifications() const;
  std::vector<SetResult> Sets() const;
  // A Set has gone out and its answer is still awaited.
  bool SetPending() const;

 private:
  void Answered(bool acknowledged);

  std::unique_ptr<SerialPort> port_;
  mutable std::mutex lock_;
  int identifications_ = 0;
  std::string pendingSet_;  // key of the Set awaiting its acknowledgement
  std::vector<SetResult> sets_;
};

}  // namespace vmx::cli
