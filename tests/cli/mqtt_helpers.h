// What the MQTT bridge's tests stand on: a real mosquitto broker on a free
// local port, a client of the test's own that watches every topic, and the
// bridge as a program whose log goes to a file.
#pragma once

#include <arpa/inet.h>
#include <mosquitto.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "tests/plain_files.h"
#include "tests/support/program.h"

namespace vmx::testing {

using namespace std::chrono_literals;

// Polls `done` until it holds or `timeout` passes.
inline bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(20ms);
  }
  return true;
}

inline int FreeLocalPort() {
  const int s = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof address;
  int port = 0;
  if (bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
      getsockname(s, reinterpret_cast<sockaddr*>(&address), &size) == 0)
    port = ntohs(address.sin_port);
  close(s);
  return port;
}

inline bool Accepts(int port) {
  const int s = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(static_cast<uint16_t>(port));
  const bool ok = connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  close(s);
  return ok;
}

// mosquitto on 127.0.0.1:`port`, anonymous, nothing kept on disk.
class Broker {
 public:
  // With a `passwordFile` (mosquitto_passwd's), only its users get in.
  Broker(std::string program, std::string folder, int port, const std::string& passwordFile = {})
      : program_(std::move(program)), folder_(std::move(folder)), port_(port) {
    std::ofstream conf(folder_ + "/mosquitto.conf");
    conf << "listener " << port_ << " 127.0.0.1\npersistence false\n";
    // Started as root, mosquitto would become its own user, who cannot read the test's files.
    if (geteuid() == 0) conf << "user root\n";
    if (passwordFile.empty())
      conf << "allow_anonymous true\n";
    else
      conf << "allow_anonymous false\npassword_file " << passwordFile << "\n";
  }
  bool Start() {
    process_ = std::make_unique<Program>(
        std::vector<std::string>{program_, "-c", folder_ + "/mosquitto.conf"},
        Launch{.logFile = folder_ + "/broker.log"});
    return WaitUntil([&] { return Accepts(port_); }, 10s);
  }
  void Stop() { process_.reset(); }
  int Port() const { return port_; }

 private:
  std::string program_, folder_;
  int port_;
  std::unique_ptr<Program> process_;
};

// Subscribes to everything, again after each reconnection, and keeps every message.
class Probe {
 public:
  explicit Probe(int port, const char* user = nullptr, const char* password = nullptr) {
    mosquitto_lib_init();
    handle_ = mosquitto_new(nullptr, true, this);
    if (user) mosquitto_username_pw_set(handle_, user, password);
    mosquitto_connect_callback_set(handle_, [](mosquitto* m, void*, int code) {
      if (code == 0) mosquitto_subscribe(m, nullptr, "#", 1);
    });
    mosquitto_message_callback_set(handle_, [](mosquitto*, void* self, const mosquitto_message* m) {
      auto* p = static_cast<Probe*>(self);
      std::lock_guard g(p->lock_);
      const std::string payload(static_cast<const char*>(m->payload),
                                static_cast<size_t>(m->payloadlen));
      p->last_[m->topic] = payload;
      p->all_.emplace_back(m->topic, payload);
    });
    mosquitto_reconnect_delay_set(handle_, 1, 1, false);
    mosquitto_connect_async(handle_, "127.0.0.1", port, 10);
    mosquitto_loop_start(handle_);
  }
  ~Probe() {
    mosquitto_disconnect(handle_);
    mosquitto_loop_stop(handle_, true);
    mosquitto_destroy(handle_);
  }
  Probe(const Probe&) = delete;
  Probe& operator=(const Probe&) = delete;

  void Publish(const std::string& topic, const std::string& payload, bool retain = false) {
    mosquitto_publish(handle_, nullptr, topic.c_str(), static_cast<int>(payload.size()),
                      payload.data(), 1, retain);
  }
  std::string Last(const std::string& topic) {
    std::lock_guard g(lock_);
    const auto it = last_.find(topic);
    return it == last_.end() ? std::string() : it->second;
  }
  bool WaitFor(const std::string& topic, const std::string& payload,
               std::chrono::milliseconds timeout = 15s) {
    return WaitUntil([&] { return Last(topic) == payload; }, timeout);
  }
  bool WaitFor(const std::string& topic, const std::function<bool(const std::string&)>& good,
               std::chrono::milliseconds timeout = 15s) {
    return WaitUntil([&] { return good(Last(topic)); }, timeout);
  }
  // The last payload of every topic that starts with `prefix`.
  std::map<std::string, std::string> Under(const std::string& prefix) {
    std::lock_guard g(lock_);
    std::map<std::string, std::string> out;
    for (const auto& [topic, payload] : last_)
      if (topic.starts_with(prefix)) out[topic] = payload;
    return out;
  }
  void Forget() {
    std::lock_guard g(lock_);
    last_.clear();
    all_.clear();
  }

 private:
  mosquitto* handle_ = nullptr;
  std::mutex lock_;
  std::map<std::string, std::string> last_;
  std::vector<std::pair<std::string, std::string>> all_;
};

}  // namespace vmx::testing
