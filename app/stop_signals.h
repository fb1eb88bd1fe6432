// SIGINT and SIGTERM close the window as the user would: the handler only
// writes a byte to a pipe, and the event loop reads it and asks to close.
#pragma once

#include <QObject>

class QSocketNotifier;

namespace vmx {

class StopSignals final : public QObject {
  Q_OBJECT

 public:
  // Installs the handlers; one instance per process.
  explicit StopSignals(QObject* parent = nullptr);
  ~StopSignals() override;

 signals:
  void stopRequested();

 private:
  QSocketNotifier* notifier_ = nullptr;
};

}  // namespace vmx
