// What the link worker hands to the user interface. Every hand-off runs on the
// UI thread while the worker waits, in the order issued. A hand-off is the one
// place where the worker's code may touch the shared records: there it runs
// as the UI thread, which owns them.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "link/firmware_image.h"
#include "link/firmware_update.h"
#include "link/record_kind.h"

namespace vmx {

class LinkHost {
 public:
  virtual ~LinkHost() = default;

  // Runs `job` on the UI thread and returns once it has run. Once the host is
  // shutting down it returns false at once without running it, so a worker
  // never waits on a window that is going away.
  virtual bool HandOff(const std::function<void()>& job) = 0;

  // The reports themselves; the worker calls them only inside HandOff.
  virtual void LogLine(const std::string& text) = 0;
  virtual void StatusLine(const std::string& text) = 0;  // status panel, then the log
  virtual void Progress(const std::string& text, int64_t done, int64_t total) = 0;
  virtual void LinkState(bool connected) = 0;
  // The record-to-page routine a hand-off runs after an accepted record.
  virtual void UpdatePage(RecordKind page) = 0;
  // Firmware update: the file the user picks, or empty when none was chosen.
  virtual std::string ChooseFirmwareFile() { return {}; }
  // The log's line about a firmware file.
  virtual std::string FileInfoText(const std::string& path) { return FileInfoLine(path); }
  // How a firmware update ended, once the board has been identified after it.
  virtual void FirmwareFinished(const FirmwareResult&) {}
  // Every identification's result, changed or not: DeviceType and
  // FirmwareVersion, 0xFF each when nothing answered. Comes after the worker
  // has acted on it.
  virtual void Identified(uint8_t /*type*/, uint8_t /*version*/) {}
};

}  // namespace vmx
