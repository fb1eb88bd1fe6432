// velmarinexd's options, from its command line and from a config file that
// holds the same options one a line ("port /dev/ttyUSB0", "# comments");
// options on the command line win over the file's.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vmx::service {

struct PortOption {
  std::string port;  // as given
  std::string id;    // empty: the board id rule
};

struct ServiceOptions {
  std::string listenHost = "127.0.0.1";
  int listenPort = 8470;
  std::vector<PortOption> ports;
  bool scan = false;
  std::string idPrefix;  // before every board's id, so ids stay apart across computers
  std::string data;      // empty: the XDG state directory
  std::string tlsCert, tlsKey;
  std::string users;
  std::string addUser;
  std::vector<std::string> allowHosts;
  bool allowPlainHttp = false;
  std::string mqttBroker;
  std::string mqttUser, mqttPasswordFile;
  std::string mqttPrefix = "velmarinex";
  bool haDiscovery = false;
  std::string logLevel = "info";
  double boardTimeout = 10;  // seconds a request waits for its board
  bool help = false;
  // The Windows service manager: install or remove the service, or run as it.
  bool installService = false, uninstallService = false, asService = false;
};

// The options of `words` (the command line without the program's name),
// after those of the config file it names; nothing (and `problem`) when a
// word is wrong.
std::optional<ServiceOptions> ParseServiceOptions(const std::vector<std::string>& words,
                                                  std::string& problem);

// Whether the address is of this computer only (127.0.0.0/8, ::1, localhost).
bool IsLoopback(const std::string& host);

// What a listening setup lacks to be safe; empty when it may start.
std::string ListenProblem(const ServiceOptions& options);

// The usage text, with what this build leaves out.
const char* ServiceUsage();

// Whether this build serves HTTPS (it has OpenSSL); the build's HTTPS side says.
bool TlsInThisBuild();
// Whether this build can install itself with the system's service manager (Windows).
bool ServiceManagerInThisBuild();

}  // namespace vmx::service
