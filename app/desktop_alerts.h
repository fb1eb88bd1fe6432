// Desktop notifications for what a keeper must not miss: the board's alarms,
// water outside the chosen range, a board lost for more than half a minute.
// Each goes to the log as well; settings live with the program, not the board.
#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <QTimer>
#include <optional>

#include "settings/board_alerts.h"

class QCheckBox;
class QLineEdit;

namespace vmx {

class PageContext;

class DesktopAlerts final : public QObject {
  Q_OBJECT

 public:
  // `busAddress` names the desktop's bus; empty: the session bus.
  DesktopAlerts(PageContext& context, QString busAddress, QObject* parent);
  ~DesktopAlerts() override;

  // The controls of its settings, on the Configuration page once that is built.
  void Attach(QCheckBox* enabled, QCheckBox* water, QLineEdit* low, QLineEdit* high);

  void InfoRead();
  void LinkState(bool connected);
  // The temperatures of the range follow the unit the board shows.
  void ShowSettings();

  const AlertSettings& Settings() const { return settings_; }
  // Notifications sent so far (for the window's own tests).
  int Sent() const { return sent_; }

 private:
  void Report(const std::vector<AlertEvent>& events);
  void Notify(const QString& text);
  QString BusName() const;
  void ArmTimer();
  void LoadSettings();
  void SaveSettings();
  void UserChanged();

  PageContext& context_;
  QString busAddress_;
  std::optional<QDBusConnection> bus_;
  BoardAlerts alerts_;
  AlertSettings settings_;
  QTimer linkTimer_;
  QCheckBox* enabled_ = nullptr;
  QCheckBox* water_ = nullptr;
  QLineEdit* low_ = nullptr;
  QLineEdit* high_ = nullptr;
  int sent_ = 0;
};

}  // namespace vmx
