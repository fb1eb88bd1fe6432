// The link worker's host in the window: hand-offs go through the window's
// queue; the reports go to the window. A retired host (its worker replaced by
// a newer one) still delivers log lines but no longer sets the link state,
// which belongs to the newer worker.
#pragma once

#include <atomic>
#include <memory>

#include "app/hand_off_queue.h"
#include "app/link_reports.h"
#include "link/link_host.h"

namespace vmx {

class QtLinkHost final : public LinkHost {
 public:
  QtLinkHost(std::shared_ptr<HandOffQueue> queue, LinkReports& reports);

  bool HandOff(const std::function<void()>& job) override;
  void LogLine(const std::string& text) override;
  void StatusLine(const std::string& text) override;
  void Progress(const std::string& text, int64_t done, int64_t total) override;
  void LinkState(bool connected) override;
  void UpdatePage(RecordKind page) override;
  std::string ChooseFirmwareFile() override;
  std::string FileInfoText(const std::string& path) override;
  void FirmwareFinished(const FirmwareResult& result) override;

  void Retire() { current_ = false; }

 private:
  std::shared_ptr<HandOffQueue> queue_;
  LinkReports& reports_;
  std::atomic<bool> current_{true};
};

}  // namespace vmx
