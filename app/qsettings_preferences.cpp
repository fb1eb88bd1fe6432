#include "app/qsettings_preferences.h"

#include <QFile>
#include <QSettings>

namespace vmx {
namespace {

constexpr const char* kProduct = "Velmarinex2";
constexpr const char* kPort = "Port";

QSettings Open() {
#ifdef Q_OS_WIN
  return QSettings("HKEY_CURRENT_USER\\Software\\Velmarinex2", QSettings::NativeFormat);
#else
  // Without an application name the organisation alone names the file.
  return QSettings(QSettings::NativeFormat, QSettings::UserScope, kProduct);
#endif
}

}  // namespace

QSettingsPreferences::QSettingsPreferences() {
  fileName_ = Open().fileName();
}

bool QSettingsPreferences::KeyExists() {
#ifdef Q_OS_WIN
  return !Open().allKeys().isEmpty();
#else
  return QFile::exists(fileName_);
#endif
}

std::optional<std::string> QSettingsPreferences::ReadPort() {
  QSettings settings = Open();
  if (settings.status() != QSettings::NoError) return std::nullopt;
  const QVariant value = settings.value(kPort);
  if (!value.isValid()) return std::string();
  if (value.typeId() != QMetaType::QString) return std::nullopt;
  return value.toString().toStdString();
}

bool QSettingsPreferences::WritePort(const std::string& port) {
  QSettings settings = Open();
  if (!settings.isWritable()) return false;
  settings.setValue(kPort, QString::fromStdString(port));
  settings.sync();
  return settings.status() == QSettings::NoError;
}

void QSettingsPreferences::DeleteKey() {
  QSettings settings = Open();
  settings.clear();
  settings.sync();
#ifndef Q_OS_WIN
  QFile::remove(fileName_);
#endif
}

}  // namespace vmx
