// Connection management: which port the program talks to, the one link worker
// for it, and the rules for connecting, switching, disconnecting, reconnecting,
// newly arrived devices and system standby.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/link_session.h"
#include "app/port_source.h"
#include "persist/preferences.h"

namespace vmx {

class Connection {
 public:
  struct Hooks {
    std::function<void(const std::string&)> log;
    // The automatic backup of the board's settings for the given port entry;
    // may be left empty.
    std::function<void(const std::string&)> backup;
    std::function<std::unique_ptr<LinkSession>(const std::string& port, bool debug)> startWorker;
  };

  // System notices, with the codes the program has always logged for them.
  static constexpr uint32_t kDeviceArrival = 0x8000;
  static constexpr uint32_t kSuspend = 4;
  static constexpr uint32_t kResumeAutomatic = 18;

  Connection(PortSource& ports, Preferences& prefs, Hooks hooks);
  ~Connection();
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  // The port entry connected to, being connected to, or to connect to next.
  std::string portName;
  // The entries of the last listing, most recently added last.
  std::vector<std::string> portList;
  bool debugMessages = false;

  bool WorkerRunning() const;
  // The current worker, finished or not; null before the first connection.
  LinkSession* Worker() const { return worker_.get(); }
  // Creates the link worker for portName, replacing a finished one.
  void StartWorker();

  void ListPorts();
  // The Connection menu opens: forget the port of a dead link, list the ports.
  // Returns the index of the ticked entry, if any.
  std::optional<size_t> MenuOpening();
  void SelectPort(size_t index);
  void Disconnect();
  // "Disconnect" chosen by the user: also forget the remembered port.
  void DisconnectAndForget();
  // A double-click on the log: connect to the remembered port or the newest one.
  void Reconnect();
  void DeviceNotice(uint32_t code, int64_t param);
  // Returns the answer to the notice (always "go ahead").
  int PowerNotice(uint32_t code);

  void SavePort();
  // The log line of a successful read, for the caller to place.
  std::optional<std::string> LoadPort();
  void ForgetPort();

 private:
  PortSource& ports_;
  Preferences& prefs_;
  Hooks hooks_;
  std::unique_ptr<LinkSession> worker_;
};

}  // namespace vmx
