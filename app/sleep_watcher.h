// The system's sleep notices: logind's PrepareForSleep on the system bus.
#pragma once

#include <QObject>

namespace vmx {

class SleepWatcher final : public QObject {
  Q_OBJECT

 public:
  // `busAddress` names the bus that carries logind; empty: the system bus.
  SleepWatcher(const QString& busAddress, QObject* parent);
  // False when the system bus or logind cannot be reached.
  bool Watching() const { return watching_; }

 signals:
  void suspending();
  void resuming();

 private slots:
  void PrepareForSleep(bool start);

 private:
  bool watching_ = false;
};

}  // namespace vmx
