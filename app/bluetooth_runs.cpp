#include "app/bluetooth_runs.h"

#include "app/hand_off_queue.h"
#include "app/worker_reaper.h"
#include "bluetooth/bluez_bluetooth.h"
#include "bluetooth/kernel_rfcomm_binder.h"

namespace vmx {
namespace {

class QtDiscoverHost final : public DiscoverHost {
 public:
  QtDiscoverHost(std::shared_ptr<HandOffQueue> queue, BluetoothRuns::Hooks hooks)
      : queue_(std::move(queue)), hooks_(std::move(hooks)) {}
  bool HandOff(const std::function<void()>& job) override { return queue_->Run(job); }
  void LogLine(const std::string& text) override { hooks_.log(text); }
  void BringToFront() override {
    if (hooks_.bringToFront) hooks_.bringToFront();
  }

 private:
  std::shared_ptr<HandOffQueue> queue_;
  BluetoothRuns::Hooks hooks_;
};

}  // namespace

// The worker is declared last: it goes first, while what it uses is still there.
struct BluetoothRuns::Session {
  std::unique_ptr<QtDiscoverHost> host;
  std::unique_ptr<Bluetooth> bluetooth;
  std::unique_ptr<RfcommBinder> binder;
  std::unique_ptr<TthdDiscover> worker;
};

BluetoothRuns::BluetoothRuns(std::shared_ptr<HandOffQueue> queue, WorkerReaper& reaper, Hooks hooks,
                             Options options)
    : queue_(std::move(queue)),
      reaper_(reaper),
      hooks_(std::move(hooks)),
      options_(std::move(options)) {}

BluetoothRuns::~BluetoothRuns() {
  Terminate();
  Retire();
}

bool BluetoothRuns::Running() const {
  return session_ && !session_->worker->Finished();
}

const TthdDiscover* BluetoothRuns::Worker() const {
  return session_ ? session_->worker.get() : nullptr;
}

void BluetoothRuns::Start(bool install) {
  if (Running()) return;
  Retire();
  auto s = std::make_shared<Session>();
  s->host = std::make_unique<QtDiscoverHost>(queue_, hooks_);
  s->bluetooth = std::make_unique<BluezBluetooth>(options_.bus);
  s->binder = options_.makeBinder ? options_.makeBinder() : std::make_unique<KernelRfcommBinder>();
  s->worker = TthdDiscover::Create(install, *s->bluetooth, *s->binder, *s->host, options_.timing);
  session_ = std::move(s);
}

void BluetoothRuns::Terminate() {
  if (session_) session_->worker->Terminate();
}

void BluetoothRuns::Retire() {
  if (!session_) return;
  // A worker that has just finished may still be handing over its last line.
  reaper_.Adopt([s = std::move(session_)]() mutable { s.reset(); });
}

}  // namespace vmx
