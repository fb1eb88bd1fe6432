#include "bluetooth/bluez_bluetooth.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCall>
#include <QDBusVariant>
#include <QStringList>
#include <chrono>
#include <thread>

#include "bluetooth/pairing_agent.h"

namespace vmx {
namespace {

constexpr const char* kService = "org.bluez";
constexpr const char* kAdapter = "org.bluez.Adapter1";
constexpr const char* kDevice = "org.bluez.Device1";
constexpr const char* kAgentManager = "org.bluez.AgentManager1";
constexpr const char* kAgentManagerPath = "/org/bluez";
constexpr const char* kProperties = "org.freedesktop.DBus.Properties";
constexpr const char* kObjectManager = "org.freedesktop.DBus.ObjectManager";
constexpr const char* kCapability = "KeyboardDisplay";

constexpr int kCallTimeout = 10000;
// A device asks its user for the PIN, if it asks at all, within BlueZ's own limit.
constexpr int kPairTimeout = 60000;
constexpr auto kPoll = std::chrono::milliseconds(5);

std::atomic<int> g_instances{0};

BtError Canceled() {
  return {"org.bluez.Error.Canceled", "Operation canceled"};
}

QDBusMessage Method(const QString& path, const char* interface, const char* name) {
  return QDBusMessage::createMethodCall(kService, path, interface, name);
}

std::string S(const QString& s) {
  return s.toStdString();
}

QStringList Strings(const QVariant& v) {
  if (v.canConvert<QDBusArgument>()) {
    QStringList list;
    v.value<QDBusArgument>() >> list;
    return list;
  }
  return v.toStringList();
}

BtDevice ToDevice(const QString& path, const QVariantMap& p) {
  BtDevice d;
  d.id = S(path);
  d.address = S(p.value("Address").toString().toUpper());
  // Never the alias: it falls back to the address when no name was sent.
  d.name = S(p.value("Name").toString());
  d.paired = p.value("Paired").toBool();
  d.connected = p.value("Connected").toBool();
  for (const QString& uuid : Strings(p.value("UUIDs"))) d.services.push_back(S(uuid.toLower()));
  return d;
}

}  // namespace

BluezBluetooth::BluezBluetooth(QString busAddress)
    : busAddress_(std::move(busAddress)), target_(std::make_shared<PairingTarget>()) {
  const int n = ++g_instances;
  connectionName_ = QString("velmarinex-bluetooth-%1").arg(n);
  agentPath_ = QString("/net/velmarinex/agent%1").arg(n);
}

BluezBluetooth::~BluezBluetooth() {
  agent_.reset();
  if (connected_) QDBusConnection::disconnectFromBus(connectionName_);
}

QDBusConnection BluezBluetooth::Bus() const {
  return QDBusConnection(connectionName_);
}

BtResult BluezBluetooth::Connect() {
  if (connected_) return {};
  QDBusConnection bus =
      busAddress_.isEmpty()
          ? QDBusConnection::connectToBus(QDBusConnection::SystemBus, connectionName_)
          : QDBusConnection::connectToBus(busAddress_, connectionName_);
  if (!bus.isConnected()) {
    const QDBusError error = bus.lastError();
    QDBusConnection::disconnectFromBus(connectionName_);
    if (error.isValid()) return BtError{S(error.name()), S(error.message())};
    return BtError{"org.freedesktop.DBus.Error.NoServer", "Not connected to the system bus"};
  }
  connected_ = true;
  return {};
}

BtResult BluezBluetooth::Call(const QDBusMessage& call, QDBusMessage& reply, int timeoutMs) {
  if (interrupted_) return Canceled();
  if (BtResult error = Connect()) return error;
  // Polled rather than waited for: this thread has no event loop, and the
  // worker must be able to end while bluetoothd still thinks.
  QDBusPendingCall pending = Bus().asyncCall(call, timeoutMs);
  while (!pending.isFinished()) {
    if (interrupted_) return Canceled();
    std::this_thread::sleep_for(kPoll);
  }
  reply = pending.reply();
  if (reply.type() == QDBusMessage::ErrorMessage)
    return BtError{S(reply.errorName()), S(reply.errorMessage())};
  return {};
}

BtResult BluezBluetooth::Call(const QDBusMessage& call) {
  QDBusMessage reply;
  return Call(call, reply, kCallTimeout);
}

void BluezBluetooth::Send(const QDBusMessage& call) {
  if (connected_) Bus().send(call);
}

BtResult BluezBluetooth::ManagedObjects(Objects& objects) {
  objects.clear();
  QDBusMessage reply;
  if (BtResult error = Call(Method("/", kObjectManager, "GetManagedObjects"), reply, kCallTimeout))
    return error;
  if (reply.signature() != "a{oa{sa{sv}}}")
    return BtError{"org.freedesktop.DBus.Error.InvalidSignature",
                   "Unexpected answer from bluetoothd: " + S(reply.signature())};
  const QDBusArgument arg = reply.arguments().value(0).value<QDBusArgument>();
  arg.beginMap();
  while (!arg.atEnd()) {
    QDBusObjectPath path;
    Interfaces interfaces;
    arg.beginMapEntry();
    arg >> path >> interfaces;
    arg.endMapEntry();
    objects[path.path()] = interfaces;
  }
  arg.endMap();
  return {};
}

BtResult BluezBluetooth::FirstAdapter(const Objects& objects, QString& path) {
  for (const auto& [p, interfaces] : objects) {
    if (interfaces.contains(kAdapter)) {
      path = p;
      return {};
    }
  }
  return BtError{"org.bluez.Error.NoSuchAdapter", "No Bluetooth adapter found"};
}

BtResult BluezBluetooth::StartDiscovery() {
  Objects objects;
  if (BtResult error = ManagedObjects(objects)) return error;
  QString adapter;
  if (BtResult error = FirstAdapter(objects, adapter)) return error;
  if (!objects[adapter][kAdapter].value("Powered").toBool())
    return BtError{"org.bluez.Error.NotReady", "The Bluetooth adapter is switched off"};
  // The board speaks classic Bluetooth only.
  QDBusMessage filter = Method(adapter, kAdapter, "SetDiscoveryFilter");
  filter << QVariantMap{{"Transport", QString("bredr")}};
  if (BtResult error = Call(filter)) return error;
  if (BtResult error = Call(Method(adapter, kAdapter, "StartDiscovery"))) return error;
  searching_ = adapter;
  return {};
}

void BluezBluetooth::StopDiscovery() {
  if (searching_.isEmpty()) return;
  const QDBusMessage stop = Method(searching_, kAdapter, "StopDiscovery");
  searching_.clear();
  if (interrupted_)
    Send(stop);
  else
    Call(stop);
}

BtResult BluezBluetooth::ListDevices(std::vector<BtDevice>& devices) {
  devices.clear();
  Objects objects;
  if (BtResult error = ManagedObjects(objects)) return error;
  QString adapter;
  if (BtResult error = FirstAdapter(objects, adapter)) return error;
  for (const auto& [path, interfaces] : objects)
    if (interfaces.contains(kDevice)) devices.push_back(ToDevice(path, interfaces[kDevice]));
  return {};
}

BtResult BluezBluetooth::ReadDevice(const std::string& id, BtDevice& device) {
  const QString path = QString::fromStdString(id);
  QDBusMessage get = Method(path, kProperties, "GetAll");
  get << QString(kDevice);
  QDBusMessage reply;
  if (BtResult error = Call(get, reply, kCallTimeout)) return error;
  if (reply.signature() != "a{sv}")
    return BtError{"org.freedesktop.DBus.Error.InvalidSignature",
                   "Unexpected answer from bluetoothd: " + S(reply.signature())};
  device = ToDevice(path, qdbus_cast<QVariantMap>(reply.arguments().value(0)));
  return {};
}

BtResult BluezBluetooth::EnsureAgent() {
  if (agent_) return {};
  if (BtResult error = Connect()) return error;
  auto agent = std::make_unique<AgentThread>(connectionName_, agentPath_, target_);
  if (!agent->Start())
    return BtError{"org.freedesktop.DBus.Error.ObjectPathInUse",
                   "The pairing agent could not be registered at " + S(agentPath_)};
  agent_ = std::move(agent);
  return {};
}

BtResult BluezBluetooth::Pair(const std::string& id, const std::string& pin) {
  if (BtResult error = EnsureAgent()) return error;
  const QString device = QString::fromStdString(id);
  target_->Set(device, QString::fromStdString(pin));
  QDBusMessage registration = Method(kAgentManagerPath, kAgentManager, "RegisterAgent");
  registration << QVariant::fromValue(QDBusObjectPath(agentPath_)) << QString(kCapability);
  BtResult error = Call(registration);
  if (!error) {
    QDBusMessage reply;
    error = Call(Method(device, kDevice, "Pair"), reply, kPairTimeout);
    if (error && interrupted_) Send(Method(device, kDevice, "CancelPairing"));
    QDBusMessage unregistration = Method(kAgentManagerPath, kAgentManager, "UnregisterAgent");
    unregistration << QVariant::fromValue(QDBusObjectPath(agentPath_));
    if (interrupted_)
      Send(unregistration);
    else
      Call(unregistration);
  }
  target_->Clear();
  // Paired meanwhile, by the system's own dialog for instance: as good.
  if (error && error->name != "org.bluez.Error.AlreadyExists") return error;

  QDBusMessage trust = Method(device, kProperties, "Set");
  trust << QString(kDevice) << QString("Trusted") << QVariant::fromValue(QDBusVariant(true));
  return Call(trust);
}

BtResult BluezBluetooth::RemoveDevice(const std::string& id) {
  const QString device = QString::fromStdString(id);
  // BlueZ keeps a device's object below its adapter's.
  const QString adapter = device.left(device.lastIndexOf('/'));
  QDBusMessage remove = Method(adapter, kAdapter, "RemoveDevice");
  remove << QVariant::fromValue(QDBusObjectPath(device));
  return Call(remove);
}

}  // namespace vmx
