// Every board of the service: the ports given with --port, or those --scan
// finds as they appear, each with its ServiceBoard and, with --mqtt, its MQTT
// bridge on the same code as `velmarinex-cli mqtt`. The boards belong to the
// I/O thread; the MQTT thread steps the bridges' clients, which it shares with
// the I/O thread's adding and removing under a lock.
#pragma once

#include <chrono>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include <boost/asio/io_context.hpp>
#include <boost/asio/steady_timer.hpp>

#include "app/port_source.h"
#include "cli/mqtt_bridge.h"
#include "cli/mqtt_client.h"
#include "platform/mutex.h"
#include "service/event_hub.h"
#include "service/service_board.h"
#include "service/service_options.h"

namespace vmx::service {

class BoardHub {
 public:
  BoardHub(boost::asio::io_context& io, const ServiceOptions& options, EventHub& events,
           ServiceLog& log, std::unique_ptr<PortSource> ports);
  ~BoardHub();

  // Opens the --port boards and starts looking after them.
  void Start();
  void Stop();

  // On the I/O thread.
  ServiceBoard* Find(const std::string& id);
  std::vector<ServiceBoard*> Boards();
  Json Summary(const std::string& id);

 private:
  struct MqttLink {
    std::unique_ptr<cli::MqttBridge> bridge;
    std::unique_ptr<cli::MqttClient> client;
  };
  void Add(const std::string& port, std::string id, bool scanned);
  void Remove(const std::string& id);
  void Tick();
  void Scan();
  void MqttLoop();

  const ServiceOptions& options_;
  EventHub& events_;
  ServiceLog& log_;
  std::unique_ptr<PortSource> ports_;
  boost::asio::steady_timer tick_;

  // The I/O thread's. A board goes before its bridge: its worker talks to it.
  std::map<std::string, std::unique_ptr<ServiceBoard>> boards_;
  Mutex mqttLock_;
  std::map<std::string, MqttLink> mqtt_ GUARDED_BY(mqttLock_);
  std::map<std::string, std::string> scanned_;  // port to board id
  std::set<std::string> refused_;              // scanned ports that held no board, while present
  std::string mqttPassword_;
  std::atomic<bool> stopping_{false};
  std::thread mqttThread_;
};

}  // namespace vmx::service
