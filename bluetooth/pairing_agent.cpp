#include "bluetooth/pairing_agent.h"

#include <QDBusConnection>

namespace vmx {
namespace {

constexpr const char* kRejected = "org.bluez.Error.Rejected";

}  // namespace

void PairingTarget::Set(const QString& device, const QString& pin) {
  std::lock_guard g(lock_);
  device_ = device;
  pin_ = pin;
}

void PairingTarget::Clear() {
  Set({}, {});
}

bool PairingTarget::Answers(const QString& device, QString* pin) const {
  std::lock_guard g(lock_);
  if (device_.isEmpty() || device != device_) return false;
  if (pin) *pin = pin_;
  return true;
}

PairingAgent::PairingAgent(std::shared_ptr<const PairingTarget> target)
    : target_(std::move(target)) {}

bool PairingAgent::Ours(const QDBusObjectPath& device, QString* pin) {
  if (target_->Answers(device.path(), pin)) return true;
  if (calledFromDBus()) sendErrorReply(kRejected, "Not the device being paired");
  return false;
}

void PairingAgent::Release() {}

QString PairingAgent::RequestPinCode(const QDBusObjectPath& device) {
  QString pin;
  return Ours(device, &pin) ? pin : QString();
}

void PairingAgent::DisplayPinCode(const QDBusObjectPath& device, const QString&) {
  Ours(device);
}

uint PairingAgent::RequestPasskey(const QDBusObjectPath& device) {
  QString pin;
  return Ours(device, &pin) ? pin.toUInt() : 0;
}

void PairingAgent::DisplayPasskey(const QDBusObjectPath&, uint, ushort) {}

void PairingAgent::RequestConfirmation(const QDBusObjectPath& device, uint) {
  Ours(device);
}

void PairingAgent::RequestAuthorization(const QDBusObjectPath& device) {
  Ours(device);
}

void PairingAgent::AuthorizeService(const QDBusObjectPath& device, const QString&) {
  Ours(device);
}

void PairingAgent::Cancel() {}

AgentThread::AgentThread(QString connectionName, QString path,
                         std::shared_ptr<const PairingTarget> target)
    : connectionName_(std::move(connectionName)),
      path_(std::move(path)),
      target_(std::move(target)) {}

AgentThread::~AgentThread() {
  quit();
  wait();
}

bool AgentThread::Start() {
  start();
  std::unique_lock g(lock_);
  ready_.wait(g, [this] { return started_; });
  return registered_;
}

void AgentThread::run() {
  PairingAgent agent(target_);
  QDBusConnection bus(connectionName_);
  const bool registered = bus.registerObject(path_, &agent, QDBusConnection::ExportAllSlots);
  {
    std::lock_guard g(lock_);
    started_ = true;
    registered_ = registered;
  }
  ready_.notify_all();
  if (!registered) return;
  exec();
  bus.unregisterObject(path_);
}

}  // namespace vmx
