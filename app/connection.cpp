#include "app/connection.h"

#include "lang/catalogue.h"
#include "app/serial_port_list.h"
#include "persist/port_memory.h"

namespace vmx {

Connection::Connection(PortSource& ports, Preferences& prefs, Hooks hooks)
    : ports_(ports), prefs_(prefs), hooks_(std::move(hooks)) {}

Connection::~Connection() = default;

bool Connection::WorkerRunning() const {
  return worker_ && worker_->Running();
}

void Connection::StartWorker() {
  // Every caller has checked that nothing runs; a second worker must never
  // contend for the same port.
  if (WorkerRunning()) return;
  worker_.reset();
  worker_ = hooks_.startWorker(portName, debugMessages);
}

void Connection::ListPorts() {
  ListSerialPorts(ports_, portList, hooks_.log);
}

std::optional<size_t> Connection::MenuOpening() {
  // With no live link, choosing any entry, even the previous one, connects again.
  if (!WorkerRunning()) portName.clear();
  ListPorts();
  for (size_t i = 0; i < portList.size(); ++i)
    if (portList[i] == portName) return i;
  return std::nullopt;
}

void Connection::SelectPort(size_t index) {
  if (index >= portList.size()) return;
  const std::string entry = portList[index];
  if (entry == portName) return;
  if (entry.empty()) {
    Disconnect();
    return;
  }
  if (hooks_.backup) hooks_.backup(portName);
  portName = entry;
  if (WorkerRunning())
    worker_->SetPort(portName, debugMessages);
  else
    StartWorker();
}

void Connection::Disconnect() {
  if (hooks_.backup) hooks_.backup(portName);
  // The worker reports its own end; nothing here waits for it.
  if (worker_) worker_->Terminate();
}

void Connection::DisconnectAndForget() {
  Disconnect();
  portName.clear();
  ForgetPort();
}

void Connection::Reconnect() {
  if (WorkerRunning()) return;
  ListPorts();
  portName.clear();
  if (std::optional<std::string> line = LoadPort()) hooks_.log(*line);
  for (const std::string& entry : portList) {
    if (!portName.empty() && entry == portName) {
      StartWorker();
      return;
    }
  }
  if (portList.empty()) return;
  portName = portList.back();
  hooks_.log("Most recently added: " + portName);
  StartWorker();
}

void Connection::DeviceNotice(uint32_t code, int64_t param) {
  if (debugMessages)
    hooks_.log("WMDeviceChange " + std::to_string(code) + " " + std::to_string(param));
  if (code != kDeviceArrival || WorkerRunning()) return;
  ListPorts();
  if (portList.empty()) return;
  portName = portList.back();
  hooks_.log("New serial port detected: " + portName);
  StartWorker();
}

int Connection::PowerNotice(uint32_t code) {
  if (debugMessages) hooks_.log("WMPowerBroadcast " + std::to_string(code));
  switch (code) {
    case 0:  // query suspend
    case 1:  // query standby
    case 4:  // suspend
      hooks_.log(LangText("SystemSuspending"));
      Disconnect();
      break;
    case 6:   // resume after a critical suspend
    case 8:   // resume after suspend
    case 18:  // automatic resume
      hooks_.log(LangText("SystemResuming"));
      // One wake-up can bring several resume codes; only the first one connects.
      if (!portName.empty() && !WorkerRunning()) StartWorker();
      break;
    default:
      break;
  }
  return 1;
}

void Connection::SavePort() {
  vmx::SavePort(prefs_, portName, hooks_.log);
}

std::optional<std::string> Connection::LoadPort() {
  return vmx::LoadPort(prefs_, portName);
}

void Connection::ForgetPort() {
  vmx::ForgetPort(prefs_);
}

}  // namespace vmx
