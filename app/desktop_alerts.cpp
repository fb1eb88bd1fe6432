#include "app/desktop_alerts.h"

#include <QCheckBox>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QLineEdit>
#include <QSettings>

#include "lang/catalogue.h"
#include "settings/temperature.h"
#include "ui/bind.h"
#include "ui/page_context.h"
#include "ui/quiet.h"

namespace vmx {
namespace {

// A file of its own: the remembered port keeps its key to itself.
QSettings Open() {
  return QSettings(QSettings::NativeFormat, QSettings::UserScope, "Velmarinex2", "alerts");
}

}  // namespace

DesktopAlerts::DesktopAlerts(PageContext& context, QString busAddress, QObject* parent)
    : QObject(parent), context_(context), busAddress_(std::move(busAddress)) {
  // A coarse timer may fire a little early; the tick then finds the grace not
  // yet over and arms the timer again for the rest.
  linkTimer_.setSingleShot(true);
  linkTimer_.setTimerType(Qt::PreciseTimer);
  connect(&linkTimer_, &QTimer::timeout, this, [this] {
    Report(alerts_.OnTick(BoardAlerts::Clock::now(), context_.PortName()));
    ArmTimer();
  });
  LoadSettings();
}

void DesktopAlerts::Attach(QCheckBox* enabled, QCheckBox* water, QLineEdit* low, QLineEdit* high) {
  enabled_ = enabled;
  water_ = water;
  low_ = low;
  high_ = high;
  for (QCheckBox* box : {enabled_, water_})
    if (box) connect(box, &QCheckBox::clicked, this, &DesktopAlerts::UserChanged);
  for (QLineEdit* edit : {low_, high_})
    if (edit) OnUserText(edit, this, [this] { UserChanged(); });
  ShowSettings();
}

void DesktopAlerts::LoadSettings() {
  QSettings s = Open();
  settings_.enabled = s.value("Enabled", settings_.enabled).toBool();
  settings_.waterRange = s.value("WaterRange", settings_.waterRange).toBool();
  settings_.waterLow = static_cast<int16_t>(s.value("WaterLow", settings_.waterLow).toInt());
  settings_.waterHigh = static_cast<int16_t>(s.value("WaterHigh", settings_.waterHigh).toInt());
}

void DesktopAlerts::SaveSettings() {
  QSettings s = Open();
  s.setValue("Enabled", settings_.enabled);
  s.setValue("WaterRange", settings_.waterRange);
  s.setValue("WaterLow", settings_.waterLow);
  s.setValue("WaterHigh", settings_.waterHigh);
}

void DesktopAlerts::ShowSettings() {
  const uint8_t flag = context_.Store().config.Flag;
  if (enabled_) enabled_->setChecked(settings_.enabled);
  if (water_) water_->setChecked(settings_.waterRange);
  auto show = [&](QLineEdit* edit, int16_t value) {
    if (edit && !edit->hasFocus())
      SetTextQuietly(edit,
                     QString::fromStdString(FormatTemperature(value, flag, DecimalSeparator())));
  };
  show(low_, settings_.waterLow);
  show(high_, settings_.waterHigh);
}

void DesktopAlerts::UserChanged() {
  const uint8_t flag = context_.Store().config.Flag;
  if (enabled_) settings_.enabled = enabled_->isChecked();
  if (water_) settings_.waterRange = water_->isChecked();
  // A temperature that does not parse keeps the last good one.
  auto take = [&](QLineEdit* edit, int16_t& value) {
    if (!edit) return;
    const std::optional<int64_t> t =
        ParseTemperature(edit->text().toStdString(), flag, DecimalSeparator());
    if (t && *t > -1000 && *t < 1000) value = static_cast<int16_t>(*t);
  };
  take(low_, settings_.waterLow);
  take(high_, settings_.waterHigh);
  SaveSettings();
}

void DesktopAlerts::InfoRead() {
  Report(alerts_.OnInfo(context_.Store().info, context_.Store().config.Flag, settings_,
                        DecimalSeparator()));
}

void DesktopAlerts::LinkState(bool connected) {
  Report(alerts_.OnLinkState(connected, BoardAlerts::Clock::now()));
  ArmTimer();
}

void DesktopAlerts::ArmTimer() {
  const auto deadline = alerts_.NextDeadline();
  if (!deadline || !settings_.enabled) {
    linkTimer_.stop();
    return;
  }
  const auto wait =
      std::chrono::ceil<std::chrono::milliseconds>(*deadline - BoardAlerts::Clock::now());
  if (!linkTimer_.isActive()) linkTimer_.start(std::max<int64_t>(0, wait.count()));
}

void DesktopAlerts::Report(const std::vector<AlertEvent>& events) {
  for (const AlertEvent& e : events) {
    if (!e.raised) continue;
    context_.AddLogLine(e.text);
    Notify(QString::fromStdString(e.text));
  }
}

QString DesktopAlerts::BusName() const {
  // Qt shares connections by name: each window has its own, for its own bus.
  return "velmarinex-alerts-" + QString::number(reinterpret_cast<quintptr>(this), 16);
}

DesktopAlerts::~DesktopAlerts() {
  if (bus_ && !busAddress_.isEmpty()) QDBusConnection::disconnectFromBus(BusName());
}

void DesktopAlerts::Notify(const QString& text) {
  // The bus is reached only when there is something to say, never at start-up.
  if (!bus_)
    bus_ = busAddress_.isEmpty() ? QDBusConnection::sessionBus()
                                 : QDBusConnection::connectToBus(busAddress_, BusName());
  if (!bus_->isConnected()) return;
  QDBusMessage call = QDBusMessage::createMethodCall("org.freedesktop.Notifications",
                                                     "/org/freedesktop/Notifications",
                                                     "org.freedesktop.Notifications", "Notify");
  call << QString("velmarinex") << 0u << QString("velmarinex")
       << QString::fromStdString(LangText("AlertTitle")) << text << QStringList()
       << QVariantMap{{"urgency", QVariant::fromValue<uchar>(2)}} << -1;
  // No answer is awaited: a desktop without a notification server just has none.
  bus_->asyncCall(call);
  ++sent_;
}

}  // namespace vmx
