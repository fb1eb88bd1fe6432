#include "service/board_hub.h"

#include "cli/mqtt_options.h"
#include "link/port_name.h"

namespace vmx::service {
namespace {

using namespace std::chrono_literals;

constexpr auto kTick = 1s;

}  // namespace

BoardHub::BoardHub(boost::asio::io_context& io, const ServiceOptions& options, EventHub& events,
                   ServiceLog& log, std::unique_ptr<PortSource> ports)
    : options_(options), events_(events), log_(log), ports_(std::move(ports)), tick_(io) {
  if (!options_.mqttPasswordFile.empty())
    mqttPassword_ = cli::ReadPasswordFile(options_.mqttPasswordFile).value_or("");
}

BoardHub::~BoardHub() {
  Stop();
}

void BoardHub::Start() {
  for (const PortOption& p : options_.ports) Add(PortFromArgument(p.port), p.id, false);
  if (!options_.mqttBroker.empty()) mqttThread_ = std::thread([this] { MqttLoop(); });
  Tick();
}

void BoardHub::Stop() {
  stopping_ = true;
  tick_.cancel();
  if (mqttThread_.joinable()) mqttThread_.join();
  boards_.clear();
  MutexLock g(mqttLock_);
  for (auto& [id, link] : mqtt_) link.client->Close(link.bridge->AvailabilityTopic(), "offline");
  mqtt_.clear();
}

void BoardHub::Add(const std::string& port, std::string id, bool scanned) {
  if (id.empty()) id = options_.idPrefix + BoardIdOfPort(port);
  if (boards_.count(id)) {
    log_.Warning("two boards would be " + id + "; " + port + " is left out (give it --id)");
    return;
  }
  MqttLink entry;
  if (!options_.mqttBroker.empty()) {
    cli::BridgeOptions bridge;
    bridge.prefix = options_.mqttPrefix;
    bridge.id = id;
    bridge.discovery = options_.haDiscovery;
    entry.bridge = std::make_unique<cli::MqttBridge>(bridge, [this, id](const std::string& text) {
      if (text.starts_with("MQTT")) log_.Info(id + ": " + text);
    });
    cli::MqttClient::Options broker;
    cli::ParseBrokerAddress(options_.mqttBroker, broker);
    broker.clientId = "velmarinex-" + id;
    broker.willTopic = entry.bridge->AvailabilityTopic();
    broker.willPayload = "offline";
    if (!options_.mqttUser.empty()) broker.user = options_.mqttUser;
    if (!options_.mqttPasswordFile.empty()) broker.password = mqttPassword_;
    entry.client = std::make_unique<cli::MqttClient>(
        broker, [this, id](const std::string& text) { log_.Info(id + ": " + text); });
    entry.client->Subscribe(entry.bridge->CommandTopics());
  }
  const auto timeout = std::chrono::milliseconds(static_cast<long long>(options_.boardTimeout * 1000));
  auto added =
      std::make_unique<ServiceBoard>(id, port, timeout, !scanned, events_, log_, entry.bridge.get());
  if (entry.bridge) {
    cli::MqttBridge* bridge = entry.bridge.get();
    ServiceBoard* board = added.get();
    bridge->Attach(board->Session());
    entry.client->OnConnected([bridge] { bridge->Republish(); });
    // A command acts on the board between its jobs, as a request does.
    entry.client->OnMessage([bridge, board](const std::string& topic, const std::string& payload,
                                            bool retained) {
      board->Run([=](cli::BoardSession* session) {
        if (session) bridge->Command(topic, payload, retained);
      });
    });
  }
  if (scanned) scanned_[port] = id;
  log_.Info("board " + id + " on " + port);
  boards_.emplace(id, std::move(added));
  if (entry.bridge) {
    MutexLock g(mqttLock_);
    mqtt_.emplace(id, std::move(entry));
  }
  events_.Board(id, "added", Summary(id));
}

void BoardHub::Remove(const std::string& id) {
  const auto it = boards_.find(id);
  if (it == boards_.end()) return;
  Json summary = it->second->Summary();
  MqttLink gone;
  {
    MutexLock g(mqttLock_);
    if (const auto link = mqtt_.find(id); link != mqtt_.end()) {
      gone = std::move(link->second);
      mqtt_.erase(link);
    }
  }
  if (gone.client) gone.client->Close(gone.bridge->AvailabilityTopic(), "offline");
  boards_.erase(it);
  log_.Info("board " + id + " let go");
  summary["connected"] = false;
  events_.Board(id, "removed", summary);
}

ServiceBoard* BoardHub::Find(const std::string& id) {
  const auto it = boards_.find(id);
  return it == boards_.end() ? nullptr : it->second.get();
}

std::vector<ServiceBoard*> BoardHub::Boards() {
  std::vector<ServiceBoard*> out;
  for (auto& [id, board] : boards_) out.push_back(board.get());
  return out;
}

Json BoardHub::Summary(const std::string& id) {
  ServiceBoard* board = Find(id);
  return board ? board->Summary() : Json(nullptr);
}

void BoardHub::Tick() {
  if (stopping_) return;
  const auto now = std::chrono::steady_clock::now();
  if (options_.scan) Scan();
  for (auto& [id, board] : boards_) board->ReviveWhenDue(now);
  tick_.expires_after(kTick);
  tick_.async_wait([this](const boost::system::error_code& ec) {
    if (!ec) Tick();
  });
}

void BoardHub::Scan() {
  std::set<std::string> present;
  try {
    for (const SerialDevice& device : ports_->Devices()) present.insert(device.path);
  } catch (const std::exception& e) {
    log_.Warning(std::string("the serial ports could not be listed: ") + e.what());
    return;
  }
  std::erase_if(refused_, [&](const std::string& port) { return !present.count(port); });
  // A port that went away takes its board along; one that never held a board
  // is let go and tried again only when it appears anew.
  for (auto it = scanned_.begin(); it != scanned_.end();) {
    ServiceBoard* board = Find(it->second);
    const bool gone = !present.count(it->first);
    const bool noBoard = board && board->GaveUp();
    if (gone || !board || noBoard) {
      if (noBoard) {
        refused_.insert(it->first);
        log_.Info(it->first + " holds no usable board");
      }
      Remove(it->second);
      it = scanned_.erase(it);
    } else {
      ++it;
    }
  }
  for (const std::string& port : present) {
    if (scanned_.count(port) || refused_.count(port)) continue;
    bool given = false;
    for (const PortOption& p : options_.ports) given = given || PortFromArgument(p.port) == port;
    if (!given) Add(port, {}, true);
  }
}

void BoardHub::MqttLoop() {
  while (!stopping_) {
    bool none = false;
    {
      MutexLock g(mqttLock_);
      none = mqtt_.empty();
      const auto wait = mqtt_.empty() ? 0ms : std::chrono::milliseconds(100 / mqtt_.size());
      for (auto& [id, link] : mqtt_) {
        link.client->Step(wait);
        link.bridge->Publish(*link.client);
      }
    }
    std::this_thread::sleep_for(none ? 100ms : 1ms);
  }
}

}  // namespace vmx::service
