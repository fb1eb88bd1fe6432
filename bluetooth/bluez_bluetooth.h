// The Bluetooth operations through BlueZ on the system bus (or on the bus a
// test names). Called from the worker's thread; every call can be cut short
// by Interrupt, so a terminated worker never waits on bluetoothd.
#pragma once

#include <QMap>
#include <QString>
#include <QVariantMap>
#include <atomic>
#include <map>
#include <memory>

#include "bluetooth/bluetooth.h"

class QDBusMessage;
class QDBusConnection;

namespace vmx {

class AgentThread;
class PairingTarget;

class BluezBluetooth final : public Bluetooth {
 public:
  // `busAddress`: the bus carrying bluetoothd; empty: the system bus.
  explicit BluezBluetooth(QString busAddress = {});
  ~BluezBluetooth() override;
  BluezBluetooth(const BluezBluetooth&) = delete;
  BluezBluetooth& operator=(const BluezBluetooth&) = delete;

  BtResult StartDiscovery() override;
  void StopDiscovery() override;
  BtResult ListDevices(std::vector<BtDevice>& devices) override;
  BtResult ReadDevice(const std::string& id, BtDevice& device) override;
  BtResult Pair(const std::string& id, const std::string& pin) override;
  BtResult RemoveDevice(const std::string& id) override;
  void Interrupt() override { interrupted_ = true; }

  // The object path our agent takes while it pairs.
  const QString& AgentPath() const { return agentPath_; }

 private:
  using Interfaces = QMap<QString, QVariantMap>;
  using Objects = std::map<QString, Interfaces>;  // ordered by path

  BtResult Connect();
  QDBusConnection Bus() const;
  BtResult Call(const QDBusMessage& call, QDBusMessage& reply, int timeoutMs);
  BtResult Call(const QDBusMessage& call);
  // For a call whose answer no longer matters to a run that is ending.
  void Send(const QDBusMessage& call);
  BtResult ManagedObjects(Objects& objects);
  BtResult FirstAdapter(const Objects& objects, QString& path);
  BtResult EnsureAgent();

  QString busAddress_;
  QString connectionName_;
  QString agentPath_;
  bool connected_ = false;
  QString searching_;  // the adapter whose search runs
  std::atomic<bool> interrupted_{false};
  std::shared_ptr<PairingTarget> target_;
  std::unique_ptr<AgentThread> agent_;
};

}  // namespace vmx
