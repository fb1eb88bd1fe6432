// A link to a board for the command-line tool: the real link worker, its
// hand-offs run inline, and the waits a one-shot command needs (every record
// read, writes sent and read back). Jobs on the records run through OnLink,
// between the worker's hand-offs, as the window's thread runs them.
#pragma once

#include <array>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "link/inline_link_host.h"
#include "link/shared_store.h"
#include "link/thd_com.h"
#include "persist/records_complete.h"
#include "persist/settings_keys.h"

namespace vmx::cli {

class SettingsSession final : public InlineLinkHost {
 public:
  // Starts the worker on `port`; with `verbose` the link's messages go to stderr.
  SettingsSession(const std::string& port, bool verbose);
  ~SettingsSession() override;

  // Waits until the board is identified and every record read.
  bool WaitComplete(std::string& error);
  // Runs `job` between the worker's hand-offs.
  void OnLink(const std::function<void()>& job);
  // Waits until the write requests `bits` have gone out, reads those records
  // back and compares them with `sent`; false with `error` naming what differs.
  bool WaitWritten(uint32_t bits, const SettingsRecords& sent, std::string& error);

  SharedStore& Store() { return store_; }
  RecordsCompleteness& Records() { return records_; }  // inside OnLink only
  std::string Port() const { return port_; }

  // Hand-offs from the worker.
  void LogLine(const std::string& text) override;
  void StatusLine(const std::string& text) override;
  void Progress(const std::string& text, int64_t done, int64_t total) override;
  void LinkState(bool connected) override;
  void UpdatePage(PageUpdate page) override;

 private:
  // Waits until `done` holds (checked under lock_) or the link ends or the
  // time runs out; false then, with `error` set.
  bool WaitUntil(const std::function<bool()>& done, const char* what, std::string& error);
  void Say(const std::string& text);

  std::string port_;
  bool verbose_;
  SharedStore store_;
  RecordsCompleteness records_;
  std::mutex lock_;
  std::condition_variable changed_;
  bool complete_ = false;
  bool connected_ = false;
  bool refused_ = false;  // the link reported no usable board before every record was read
  bool toldWhy_ = false;  // a status line came after that report
  std::array<uint64_t, 8> shown_{};  // records handed over, by PageUpdate
  std::string lastStatus_;
  std::unique_ptr<TthdCom> worker_;
};

}  // namespace vmx::cli
