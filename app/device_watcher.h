// Notices new device nodes in a directory (normally /dev) through inotify:
// what a newly plugged or paired serial device looks like from here.
#pragma once

#include <QObject>
#include <QString>

class QSocketNotifier;

namespace vmx {

class DeviceWatcher final : public QObject {
  Q_OBJECT

 public:
  DeviceWatcher(const QString& directory, QObject* parent);
  ~DeviceWatcher() override;
  bool Watching() const { return fd_ >= 0; }

 signals:
  // Once per batch of new entries.
  void arrived();

 private:
  void Read();

  int fd_ = -1;
  QSocketNotifier* notifier_ = nullptr;
};

}  // namespace vmx
