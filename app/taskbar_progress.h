// Progress on the program's launcher icon, through the desktop's launcher
// D-Bus interface (com.canonical.Unity.LauncherEntry). Without a session bus
// there is nothing to talk to and Create returns null.
#pragma once

#include <QDBusConnection>
#include <QString>
#include <QVariantMap>
#include <cstdint>
#include <memory>

namespace vmx {

class TaskbarProgress {
 public:
  enum class State { Normal, Paused, Error };

  // `busAddress` names the desktop's bus; empty: the session bus.
  static std::unique_ptr<TaskbarProgress> Create(const QString& busAddress = {});

  void SetProgressValue(int64_t completed, int64_t total);
  void SetProgressState(State state);

  // What the last update announced (kept for the launcher's later queries).
  const QVariantMap& Properties() const { return properties_; }

 private:
  explicit TaskbarProgress(const QDBusConnection& bus);
  void Send();

  QDBusConnection bus_;
  QVariantMap properties_;
};

}  // namespace vmx
