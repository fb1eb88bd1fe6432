#include "app/sleep_watcher.h"

#include <QDBusConnection>

namespace vmx {

SleepWatcher::SleepWatcher(const QString& busAddress, QObject* parent) : QObject(parent) {
  QDBusConnection bus = busAddress.isEmpty() ? QDBusConnection::systemBus()
                                             : QDBusConnection::connectToBus(
                                                   busAddress, "velmarinex-sleep " + busAddress);
  if (!bus.isConnected()) return;
  watching_ = bus.connect("org.freedesktop.login1", "/org/freedesktop/login1",
                          "org.freedesktop.login1.Manager", "PrepareForSleep", this,
                          SLOT(PrepareForSleep(bool)));
}

void SleepWatcher::PrepareForSleep(bool start) {
  if (start)
    emit suspending();
  else
    emit resuming();
}

}  // namespace vmx
