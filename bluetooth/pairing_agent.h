// Our own BlueZ pairing agent. It is registered only while the worker pairs
// one device, never as the default agent, and answers only for that device:
// any other request is rejected, so nothing else gets paired on the side.
#pragma once

#include <QDBusContext>
#include <QDBusObjectPath>
#include <QObject>
#include <QString>
#include <QThread>
#include <condition_variable>
#include <memory>
#include <mutex>

namespace vmx {

// The device being paired and its PIN; set by the worker, read by the agent.
class PairingTarget {
 public:
  void Set(const QString& device, const QString& pin);
  void Clear();
  // The PIN when `device` is the one being paired.
  bool Answers(const QString& device, QString* pin = nullptr) const;

 private:
  mutable std::mutex lock_;
  QString device_;
  QString pin_;
};

class PairingAgent final : public QObject, protected QDBusContext {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.bluez.Agent1")

 public:
  explicit PairingAgent(std::shared_ptr<const PairingTarget> target);

 public slots:
  void Release();
  QString RequestPinCode(const QDBusObjectPath& device);
  void DisplayPinCode(const QDBusObjectPath& device, const QString& pincode);
  uint RequestPasskey(const QDBusObjectPath& device);
  void DisplayPasskey(const QDBusObjectPath& device, uint passkey, ushort entered);
  void RequestConfirmation(const QDBusObjectPath& device, uint passkey);
  void RequestAuthorization(const QDBusObjectPath& device);
  void AuthorizeService(const QDBusObjectPath& device, const QString& uuid);
  void Cancel();

 private:
  bool Ours(const QDBusObjectPath& device, QString* pin = nullptr);

  std::shared_ptr<const PairingTarget> target_;
};

// The agent's own thread: BlueZ calls it while the worker waits for Pair.
class AgentThread final : public QThread {
 public:
  AgentThread(QString connectionName, QString path, std::shared_ptr<const PairingTarget> target);
  ~AgentThread() override;
  // Starts the thread; true once the agent is on the bus.
  bool Start();

 protected:
  void run() override;

 private:
  QString connectionName_;
  QString path_;
  std::shared_ptr<const PairingTarget> target_;
  std::mutex lock_;
  std::condition_variable ready_;
  bool started_ = false;
  bool registered_ = false;
};

}  // namespace vmx
