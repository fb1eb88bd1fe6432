#include "service/service_options.h"

#include <cstdlib>
#include <fstream>
#include <set>

#include "cli/mqtt_options.h"
#include "lang/catalogue.h"
#include "link/port_name.h"
#include "platform/file_path.h"

namespace vmx::service {
namespace {

const char* const kUsage =
    "usage: velmarinexd [OPTIONS]\n"
    "  Holds the link to every board of this computer and serves it over HTTP\n"
    "  (/api/v1, documented at /api/v1/openapi.json), until SIGINT or SIGTERM.\n"
    "  --listen ADDR:PORT      where to listen (default 127.0.0.1:8470)\n"
    "  --port DEV              a board's serial port (repeatable); --id ID after it\n"
    "                          names that board (default vmx5_ and the port's name)\n"
    "  --scan                  try every serial port that appears, keep the boards\n"
    "  --id-prefix PREFIX      put before every default board id (one per computer)\n"
    "  --data DIR              per-board files (default $XDG_STATE_HOME/velmarinex)\n"
    "  --users FILE            name:hash lines; needed beyond loopback\n"
    "  --add-user NAME         ask for NAME's password and write it into --users FILE\n"
    "  --tls-cert F --tls-key F  serve HTTPS\n"
    "  --allow-plain-http      plain HTTP beyond loopback (behind a reverse proxy)\n"
    "  --allow-host NAME       a Host header to accept besides the listen address\n"
    "                          and localhost (repeatable)\n"
    "  --mqtt HOST[:PORT]      bridge every board to this MQTT broker\n"
    "  --mqtt-user USER --mqtt-password-file FILE  log in to the broker\n"
    "  --mqtt-prefix PREFIX    the first topic level(s), default velmarinex\n"
    "  --ha-discovery          Home Assistant discovery documents\n"
    "  --board-timeout SECONDS how long a request waits for its board (default 10)\n"
    "  --log-level LEVEL       error, warning, info (default) or debug\n"
    "  --config FILE           the same options, one a line without the dashes\n"
    "  --install-service       (Windows) install velmarinexd as a service that\n"
    "                          starts with the computer, with the other options;\n"
    "                          needs --data DIR and whole paths\n"
    "  --uninstall-service     (Windows) stop and remove that service\n"
    "  --help                  this text\n";

const std::set<std::string> kFlags = {"scan",      "allow-plain-http", "ha-discovery",
                                      "help",      "install-service",  "uninstall-service",
                                      "as-service"};
const std::set<std::string> kValued = {"listen",
                                       "port",
                                       "id",
                                       "id-prefix",
                                       "data",
                                       "tls-cert",
                                       "tls-key",
                                       "users",
                                       "add-user",
                                       "allow-host",
                                       "mqtt",
                                       "mqtt-user",
                                       "mqtt-password-file",
                                       "mqtt-prefix",
                                       "log-level",
                                       "board-timeout",
                                       "config"};

bool ParseListen(const std::string& text, ServiceOptions& o) {
  std::string host, port;
  if (text.starts_with('[')) {
    const size_t close = text.find(']');
    if (close == std::string::npos || close + 1 >= text.size() || text[close + 1] != ':')
      return false;
    host = text.substr(1, close - 1);
    port = text.substr(close + 2);
  } else {
    const size_t colon = text.rfind(':');
    if (colon == std::string::npos) return false;
    host = text.substr(0, colon);
    port = text.substr(colon + 1);
  }
  if (host.empty() || port.empty() || port.size() > 5) return false;
  for (const char c : port)
    if (c < '0' || c > '9') return false;
  o.listenHost = host;
  o.listenPort = std::atoi(port.c_str());
  return o.listenPort <= 65535;
}

// One option and its value onto `o`; `fromCommandLine` lists replace the file's.
bool Apply(const std::string& name, const std::string& value, ServiceOptions& o,
           std::set<std::string>& replaced, bool fromCommandLine, std::string& problem) {
  auto fail = [&](const std::string& why) {
    problem = "--" + name + " " + why;
    return false;
  };
  if (fromCommandLine && (name == "port" || name == "allow-host") && replaced.insert(name).second) {
    if (name == "port") o.ports.clear();
    if (name == "allow-host") o.allowHosts.clear();
  }
  if (name == "scan")
    o.scan = true;
  else if (name == "allow-plain-http")
    o.allowPlainHttp = true;
  else if (name == "ha-discovery")
    o.haDiscovery = true;
  else if (name == "help")
    o.help = true;
  else if (name == "install-service")
    o.installService = true;
  else if (name == "uninstall-service")
    o.uninstallService = true;
  else if (name == "as-service")
    o.asService = true;
  else if (name == "listen") {
    if (!ParseListen(value, o)) return fail("takes ADDR:PORT");
  } else if (name == "port") {
    o.ports.push_back({value, {}});
  } else if (name == "id") {
    if (o.ports.empty()) return fail("names the board of the --port before it");
    if (value.empty()) return fail("takes letters, digits, - and _");
    for (const char c : value)
      if (!IdCharacter(c)) return fail("takes letters, digits, - and _");
    o.ports.back().id = value;
  } else if (name == "id-prefix") {
    for (const char c : value)
      if (!IdCharacter(c)) return fail("takes letters, digits, - and _");
    o.idPrefix = value;
  } else if (name == "data")
    o.data = value;
  else if (name == "tls-cert")
    o.tlsCert = value;
  else if (name == "tls-key")
    o.tlsKey = value;
  else if (name == "users")
    o.users = value;
  else if (name == "add-user") {
    if (value.empty() || value.find(':') != std::string::npos ||
        value.find('\n') != std::string::npos)
      return fail("takes a name without \":\"");
    o.addUser = value;
  } else if (name == "allow-host")
    o.allowHosts.push_back(value);
  else if (name == "mqtt") {
    cli::MqttClient::Options broker;
    if (!cli::ParseBrokerAddress(value, broker)) return fail("takes HOST or HOST:PORT");
    o.mqttBroker = value;
  } else if (name == "mqtt-user")
    o.mqttUser = value;
  else if (name == "mqtt-password-file")
    o.mqttPasswordFile = value;
  else if (name == "mqtt-prefix") {
    if (!cli::ValidTopicPrefix(value)) return fail("is topic levels without +, # or empty levels");
    o.mqttPrefix = value;
  } else if (name == "log-level") {
    if (value != "error" && value != "warning" && value != "info" && value != "debug")
      return fail("is error, warning, info or debug");
    o.logLevel = value;
  } else if (name == "board-timeout") {
    char* end = nullptr;
    const double seconds = std::strtod(value.c_str(), &end);
    if (value.empty() || *end != 0 || !(seconds > 0 && seconds <= 600))
      return fail("takes a number of seconds");
    o.boardTimeout = seconds;
  }
  return true;
}

// "--name value" words into (name, value) pairs.
bool Pairs(const std::vector<std::string>& words,
           std::vector<std::pair<std::string, std::string>>& out, std::string& problem) {
  for (size_t i = 0; i < words.size(); ++i) {
    const std::string& w = words[i];
    const std::string name = w.starts_with("--") ? w.substr(2) : w == "-h" ? "help" : "";
    if (kFlags.count(name)) {
      out.emplace_back(name, "");
    } else if (kValued.count(name)) {
      if (i + 1 >= words.size()) return problem = w + " needs a value", false;
      out.emplace_back(name, words[++i]);
    } else {
      return problem = "unknown option: " + ShortForMessage(w), false;
    }
  }
  return true;
}

bool ReadConfig(const std::string& path, std::vector<std::pair<std::string, std::string>>& out,
                std::string& problem) {
  std::ifstream in(path);
  if (!in) return problem = path + " could not be read", false;
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    if (line.ends_with('\r')) line.pop_back();
    const size_t first = line.find_first_not_of(" \t");
    if (first == std::string::npos || line[first] == '#') continue;
    line = line.substr(first);
    const size_t cut = line.find_first_of(" \t=");
    const std::string name = line.substr(0, cut);
    std::string value;
    if (cut != std::string::npos) {
      value = line.substr(cut + 1);
      const size_t start = value.find_first_not_of(" \t=");
      value = start == std::string::npos ? "" : value.substr(start);
      while (!value.empty() && (value.back() == ' ' || value.back() == '\t')) value.pop_back();
    }
    if (name == "config" || (!kFlags.count(name) && !kValued.count(name)) ||
        (kValued.count(name) && value.empty())) {
      problem = path + " line " + std::to_string(number) + ": " + ShortForMessage(line);
      return false;
    }
    out.emplace_back(name, value);
  }
  return true;
}

}  // namespace

std::optional<ServiceOptions> ParseServiceOptions(const std::vector<std::string>& words,
                                                  std::string& problem) {
  std::vector<std::pair<std::string, std::string>> given, file;
  if (!Pairs(words, given, problem)) return std::nullopt;
  for (const auto& [name, value] : given)
    if (name == "config" && !ReadConfig(value, file, problem)) return std::nullopt;
  ServiceOptions o;
  std::set<std::string> replaced;
  for (const auto& [name, value] : file)
    if (!Apply(name, value, o, replaced, false, problem)) return std::nullopt;
  for (const auto& [name, value] : given)
    if (name != "config" && !Apply(name, value, o, replaced, true, problem)) return std::nullopt;
  if (o.tlsCert.empty() != o.tlsKey.empty())
    return problem = "--tls-cert and --tls-key go together", std::nullopt;
  if (!o.tlsCert.empty() && !TlsInThisBuild())
    return problem = LangText("ServiceNoTls"), std::nullopt;
  if (!o.mqttBroker.empty() && !cli::MqttInThisBuild())
    return problem = LangText("ServiceNoMqtt"), std::nullopt;
  if (!o.mqttPasswordFile.empty() && o.mqttUser.empty())
    return problem = "--mqtt-password-file belongs to --mqtt-user", std::nullopt;
  if (!o.addUser.empty() && o.users.empty())
    return problem = "--add-user needs --users FILE", std::nullopt;
  if ((o.installService || o.uninstallService || o.asService) && !ServiceManagerInThisBuild())
    return problem = LangText("ServiceNoScm"), std::nullopt;
  if (o.installService && o.uninstallService)
    return problem = "--install-service or --uninstall-service, not both", std::nullopt;
  // The service manager starts the program in the system's folder: a path
  // given from here must not depend on where the keeper stood.
  if (o.installService && (o.data.empty() || !vmx::PathOfText(o.data).is_absolute()))
    return problem = "--install-service needs --data DIR as a whole path", std::nullopt;
  if (o.installService && !o.users.empty() && !vmx::PathOfText(o.users).is_absolute())
    return problem = "--install-service needs --users FILE as a whole path", std::nullopt;
  return o;
}

bool IsLoopback(const std::string& host) {
  return host == "localhost" || host == "::1" || host.starts_with("127.");
}

std::string ListenProblem(const ServiceOptions& o) {
  if (IsLoopback(o.listenHost)) return {};
  if (o.users.empty()) return "listening beyond this computer needs --users FILE";
  if (o.tlsCert.empty() && !o.allowPlainHttp)
    return "listening beyond this computer needs --tls-cert and --tls-key, or --allow-plain-http "
           "behind a reverse proxy";
  return {};
}

const char* ServiceUsage() {
  // What this build lacks is said where the options would be of use.
  static const std::string usage = [] {
    std::string text = kUsage;
    if (!TlsInThisBuild() || !cli::MqttInThisBuild()) text += "\n";
    if (!TlsInThisBuild()) text += "  " + LangText("ServiceNoTls") + "\n";
    if (!cli::MqttInThisBuild()) text += "  " + LangText("ServiceNoMqtt") + "\n";
    return text;
  }();
  return usage.c_str();
}

}  // namespace vmx::service
