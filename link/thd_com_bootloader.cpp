// The worker's way into its board's bootloader and the firmware update it runs
// there. The update itself knows the worker only as a FirmwareLink.
#include "link/firmware_update.h"
#include "link/thd_com.h"

namespace vmx {

class WorkerFirmwareLink final : public FirmwareLink {
 public:
  explicit WorkerFirmwareLink(TthdCom& worker) : w_(worker) {}

  bool Send(std::string_view command, std::span<const uint8_t> payload) override {
    w_.proto_->SetDebug(w_.debug_);
    return w_.proto_->Set(command, payload);
  }
  bool Terminated() const override { return w_.terminated_; }
  bool Pause(std::chrono::milliseconds d) override { return w_.Wait(d); }
  void Log(const std::string& text) override { w_.Log(text); }
  void Status(const std::string& text) override { w_.Status(text); }
  void Progress(const std::string& text, int64_t done, int64_t total) override {
    w_.OnUi([&] { w_.host_.Progress(text, done, total); });
  }
  std::string ChooseFile() override {
    std::string file;
    w_.OnUi([&] { file = w_.host_.ChooseFirmwareFile(); });
    return file;
  }
  std::string FileInfo(const std::string& path) override {
    std::string line;
    w_.OnUi([&] { line = w_.host_.FileInfoText(path); });
    return line;
  }
  bool Debug() const override { return w_.debug_; }

 private:
  TthdCom& w_;
};

void TthdCom::ServeBootloader() {
  if (bootloaderState_ && Get("81", "GetBootInfo", BootInfo::Size)) {
    bootInfo_ = Decode<BootInfo>(proto_->Payload(BootInfo::Size));
    WorkerFirmwareLink link(*this);
    FirmwareResult result = RunFirmwareUpdate(link, bootInfo_, {.retry = timing_.blockRetry});
    // A stopped transfer ends at once: the board stays where it is.
    if (result.outcome != FirmwareOutcome::Stopped) {
      Identify();
      FinishFirmwareUpdate(result, deviceType_, link);
    }
    OnUi([&] { host_.FirmwareFinished(result); });
  } else {
    Trace("StartBootloader");
    proto_->SetDebug(debug_);
    proto_->StartBootloader();
    Wait(timing_.bootloaderRestart);
    Identify();
  }
  if (!terminated_) Identify();
  store_.Clear(request::Bootloader);
}

}  // namespace vmx
