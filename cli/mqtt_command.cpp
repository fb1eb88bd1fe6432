#include "cli/mqtt_command.h"

#include <signal.h>

#include <atomic>
#include <cstdio>
#include <mutex>
#include <optional>

#include "cli/board_session.h"
#include "cli/mqtt_bridge.h"
#include "link/port_name.h"
#include "cli/mqtt_client.h"
#include "cli/mqtt_options.h"
#include "lang/log_stamp.h"
#include "platform/stop_request.h"

namespace vmx::cli {
namespace {

using namespace std::chrono_literals;

const char* const kUsage =
    "usage: velmarinex-cli mqtt PORT --broker HOST[:PORT] [--user USER --password-file FILE]\n"
    "                           [--prefix PREFIX] [--id ID] [--ha-discovery] [-debug]\n"
    "  Holds the link to the board on PORT as the window does, reconnecting when it\n"
    "  is lost, and bridges it to an MQTT broker until SIGINT or SIGTERM, logging to\n"
    "  standard output as the Messages page would. Retained\n"
    "  state under PREFIX/ID/:\n"
    "    availability     online while the board is connected and read, else offline\n"
    "    link, status     connected or disconnected; the link's last status line\n"
    "    mode             manual, auto, geo, rgbdemo or flash\n"
    "    channel/0..11    each channel's level in percent\n"
    "    active_row       the schedule row in force\n"
    "    temperature/board, /water, /slave  in temperature/unit; None without a sensor\n"
    "    voltage          input voltage in volts\n"
    "    alarm, error/..., activity/..., saving   ON or OFF\n"
    "    settings         every setting by its settings-file key, as JSON\n"
    "  Commands, published to PREFIX/ID/set/...:\n"
    "    mode             manual, auto, geo, rgbdemo or flash\n"
    "    channel/N        a percentage, ON or OFF (mode Manual)\n"
    "    all              off, 20 or on\n"
    "    cloud, storm     PRESS starts or stops one now (modes Auto and Geo)\n"
    "    save             PRESS stores the settings permanently\n"
    "    config/KEY       a settings-file key (FanLow, Weather.CloudP, 3.Hour) and its value\n"
    "  A command that does not fit, or comes retained, is left out with a log line.\n"
    "  --broker HOST[:PORT]  the broker; PORT 1883 unless given ([ADDRESS]:PORT for IPv6)\n"
    "  --user, --password-file  log in; the file's first line is the password\n"
    "  --prefix PREFIX   the first topic level(s), default velmarinex\n"
    "  --id ID           the board's topic level (letters, digits, - and _); default\n"
    "                    vmx5_ and the port's name, so it stays the same across restarts\n"
    "  --ha-discovery    Home Assistant discovery documents under homeassistant/\n"
    "  -debug            log every exchange on the line too\n";

struct Arguments {
  BoardArguments board;
  BridgeOptions bridge;
  MqttClient::Options broker;
  std::optional<std::string> passwordFile;
};

std::optional<Arguments> Parse(int argc, char** argv, std::string& problem) {
  Arguments a;
  std::vector<std::string> words;
  for (int i = 1; i < argc; ++i) words.emplace_back(argv[i]);
  auto value = [&](size_t& i) -> std::optional<std::string> {
    if (i + 1 >= words.size()) return std::nullopt;
    return words[++i];
  };
  for (size_t i = 0; i < words.size(); ++i) {
    const std::string& w = words[i];
    std::optional<std::string> v;
    if (w == "-debug" || w == "--debug") {
      a.board.debug = true;
    } else if (w == "--ha-discovery") {
      a.bridge.discovery = true;
    } else if (w == "--broker" || w == "--user" || w == "--password-file" || w == "--prefix" ||
               w == "--id") {
      if (!(v = value(i))) return problem = w + " needs a value", std::nullopt;
      if (w == "--broker" && !ParseBrokerAddress(*v, a.broker))
        return problem = "--broker takes HOST or HOST:PORT", std::nullopt;
      if (w == "--user") a.broker.user = *v;
      if (w == "--password-file") a.passwordFile = *v;
      if (w == "--prefix") a.bridge.prefix = *v;
      if (w == "--id") a.bridge.id = *v;
    } else if (a.board.port.empty() && !w.starts_with("-")) {
      a.board.port = w;
    } else {
      return problem = "unknown word: " + w, std::nullopt;
    }
  }
  if (a.board.port.empty()) return problem = "no port given", std::nullopt;
  if (a.broker.host.empty()) return problem = "no --broker given", std::nullopt;
  if (a.passwordFile && !a.broker.user)
    return problem = "--password-file belongs to --user", std::nullopt;
  if (!ValidTopicPrefix(a.bridge.prefix))
    return problem = "--prefix is topic levels without +, # or empty levels", std::nullopt;
  if (a.bridge.id.empty()) a.bridge.id = BoardIdOfPort(a.board.port);
  for (const char c : a.bridge.id)
    if (!IdCharacter(c)) return problem = "--id takes letters, digits, - and _", std::nullopt;
  return a;
}

}  // namespace

int MqttCommand(int argc, char** argv) {
  std::string problem;
  std::optional<Arguments> a = Parse(argc, argv, problem);
  if (!a) {
    std::fprintf(stderr, "velmarinex-cli mqtt: %s\n%s", problem.c_str(), kUsage);
    return 2;
  }
  if (a->passwordFile) {
    a->broker.password = ReadPasswordFile(*a->passwordFile);
    if (!a->broker.password) {
      std::fprintf(stderr, "velmarinex-cli mqtt: %s could not be read\n", a->passwordFile->c_str());
      return 1;
    }
  }

  // Log lines come from the worker's thread and from this one.
  std::mutex printing;
  auto log = [&printing](const std::string& text) {
    std::string entry = StampLogEntry(LogStampNow(), text);
    for (size_t at; (at = entry.find("\r\n")) != std::string::npos;) entry.erase(at, 1);
    std::lock_guard g(printing);
    std::fprintf(stdout, "%s\n", entry.c_str());
    std::fflush(stdout);
  };

  // Stop requests are taken in this loop, before the worker and the client start.
  StopRequest stop;
  signal(SIGPIPE, SIG_IGN);

  MqttBridge bridge(a->bridge, log);
  a->broker.clientId = "velmarinex-" + a->bridge.id;
  a->broker.willTopic = bridge.AvailabilityTopic();
  a->broker.willPayload = "offline";
  MqttClient client(a->broker, log);
  client.Subscribe(bridge.CommandTopics());
  client.OnConnected([&] { bridge.Republish(); });
  client.OnMessage([&](const std::string& topic, const std::string& payload, bool retained) {
    bridge.Command(topic, payload, retained);
  });

  log("MQTT bridge for " + a->board.port + " as " + bridge.Base());
  BoardSession session(a->board, &bridge);
  bridge.Attach(session);
  // A worker ends after failing to open the port, or on another kind of
  // board; the bridge keeps trying, as a window left open would on a replug.
  std::optional<std::chrono::steady_clock::time_point> endedAt;
  constexpr auto kRevivePause = 10s;
  while (!stop.Wait(std::chrono::milliseconds(0))) {
    client.Step(100ms);
    bridge.Publish(client);
    if (!session.Ended()) {
      endedAt.reset();
    } else if (!endedAt) {
      endedAt = std::chrono::steady_clock::now();
    } else if (std::chrono::steady_clock::now() - *endedAt >= kRevivePause) {
      session.Revive();
      endedAt.reset();
    }
  }
  log("MQTT bridge stopping");
  client.Close(bridge.AvailabilityTopic(), "offline");
  return 0;
}

const char* MqttUsage() {
  return kUsage;
}

const char* MqttSummary() {
  return "bridge a board to an MQTT broker and Home Assistant";
}

}  // namespace vmx::cli
