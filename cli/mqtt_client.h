// A connection to an MQTT broker that keeps itself up: it connects, and after
// any loss (broker gone, network down, name not resolved, login refused) tries
// again with a growing pause. Everything runs on the caller's thread, in Step.
#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

struct mosquitto;
struct mosquitto_message;

namespace vmx::cli {

// Whether this build can reach a broker (it has libmosquitto).
bool MqttInThisBuild();

class MqttClient {
 public:
  struct Options {
    std::string host;
    int port = 1883;
    std::string clientId;
    std::optional<std::string> user;
    std::optional<std::string> password;
    // Published by the broker, retained, when the connection breaks off
    // without a goodbye.
    std::string willTopic;
    std::string willPayload;
    int keepAliveSeconds = 30;
  };
  using LogFn = std::function<void(const std::string&)>;
  // `retained`: the broker kept the message from before this connection.
  using MessageFn =
      std::function<void(const std::string& topic, const std::string& payload, bool retained)>;

  MqttClient(Options options, LogFn log);
  ~MqttClient();
  MqttClient(const MqttClient&) = delete;
  MqttClient& operator=(const MqttClient&) = delete;

  // Topics subscribed on every connection.
  void Subscribe(std::string pattern) { subscriptions_.push_back(std::move(pattern)); }
  void OnConnected(std::function<void()> fn) { onConnected_ = std::move(fn); }
  void OnMessage(MessageFn fn) { onMessage_ = std::move(fn); }

  // Connects when due, then sends and receives for at most `wait`.
  void Step(std::chrono::milliseconds wait);
  bool Connected() const { return state_ == State::Connected; }
  // At-least-once, retained; false when there is no connection to send it on.
  bool Publish(const std::string& topic, const std::string& payload);
  // Publishes the goodbye and closes the connection cleanly, so the broker
  // keeps the will to itself.
  void Close(const std::string& topic, const std::string& payload);

 private:
  enum class State { Idle, Connecting, Connected };
  static void ConnectCallback(mosquitto*, void* self, int code);
  static void DisconnectCallback(mosquitto*, void* self, int code);
  static void MessageCallback(mosquitto*, void* self, const mosquitto_message* message);
  void TryConnect();
  // The connection is gone: the next attempt after the pause, which grows.
  void Lost(const std::string& why);

  Options options_;
  LogFn log_;
  mosquitto* handle_ = nullptr;
  State state_ = State::Idle;
  std::chrono::steady_clock::time_point nextAttempt_{};
  std::chrono::seconds pause_{1};
  std::string lastProblem_;  // said once until something else happens
  std::vector<std::string> subscriptions_;
  std::function<void()> onConnected_;
  MessageFn onMessage_;
};

}  // namespace vmx::cli
