#include "app/taskbar_progress.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <algorithm>

namespace vmx {
namespace {

constexpr const char* kDesktopEntry = "application://velmarinex.desktop";
constexpr const char* kObjectPath = "/com/velmarinex/launcher";
constexpr const char* kInterface = "com.canonical.Unity.LauncherEntry";

}  // namespace

std::unique_ptr<TaskbarProgress> TaskbarProgress::Create(const QString& busAddress) {
  QDBusConnection bus = busAddress.isEmpty() ? QDBusConnection::sessionBus()
                                             : QDBusConnection::connectToBus(
                                                   busAddress, "velmarinex-launcher " + busAddress);
  if (!bus.isConnected()) return nullptr;
  return std::unique_ptr<TaskbarProgress>(new TaskbarProgress(bus));
}

TaskbarProgress::TaskbarProgress(const QDBusConnection& bus) : bus_(bus) {}

void TaskbarProgress::SetProgressValue(int64_t completed, int64_t total) {
  const double share =
      total > 0 ? static_cast<double>(completed) / static_cast<double>(total) : 0.0;
  properties_["progress"] = std::clamp(share, 0.0, 1.0);
  properties_["progress-visible"] = true;
  Send();
}

void TaskbarProgress::SetProgressState(State state) {
  // The launcher knows no colours; a link that is down asks for attention.
  properties_["urgent"] = state == State::Error;
  Send();
}

void TaskbarProgress::Send() {
  QDBusMessage signal = QDBusMessage::createSignal(kObjectPath, kInterface, "Update");
  signal << QString(kDesktopEntry) << properties_;
  bus_.send(signal);
}

}  // namespace vmx
