// What the window does with the link worker's reports; always on the UI thread.
#pragma once

#include <cstdint>
#include <string>

#include "link/link_host.h"

namespace vmx {

class LinkReports {
 public:
  virtual ~LinkReports() = default;
  virtual void LogLine(const std::string& text) = 0;
  virtual void StatusLine(const std::string& text) = 0;
  virtual void Progress(const std::string& text, int64_t done, int64_t total) = 0;
  virtual void LinkState(bool connected) = 0;
  virtual void UpdatePage(RecordKind page) = 0;
  // Firmware update: the file the user picks, empty when none; and how it ended.
  virtual std::string ChooseFirmwareFile() { return {}; }
  virtual void FirmwareFinished(const FirmwareResult&) {}
};

}  // namespace vmx
