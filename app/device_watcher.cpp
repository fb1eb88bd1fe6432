#include "app/device_watcher.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <QSocketNotifier>

namespace vmx {

DeviceWatcher::DeviceWatcher(const QString& directory, QObject* parent) : QObject(parent) {
  fd_ = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  if (fd_ < 0) return;
  if (inotify_add_watch(fd_, directory.toLocal8Bit().constData(), IN_CREATE | IN_MOVED_TO) < 0) {
    ::close(fd_);
    fd_ = -1;
    return;
  }
  notifier_ = new QSocketNotifier(fd_, QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, &DeviceWatcher::Read);
}

DeviceWatcher::~DeviceWatcher() {
  if (notifier_) notifier_->setEnabled(false);
  if (fd_ >= 0) ::close(fd_);
}

void DeviceWatcher::Read() {
  alignas(inotify_event) char buffer[4096];
  bool any = false;
  for (;;) {
    const ssize_t n = ::read(fd_, buffer, sizeof buffer);
    if (n <= 0) break;
    any = true;
  }
  if (any) emit arrived();
}

}  // namespace vmx
