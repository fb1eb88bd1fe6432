#include "cli/mqtt_client.h"

#include <mosquitto.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <thread>

namespace vmx::cli {

bool MqttInThisBuild() {
  return true;
}

namespace {

using namespace std::chrono_literals;

constexpr std::chrono::seconds kFirstPause{1};
constexpr std::chrono::seconds kLongestPause{60};
// A broker that takes this long to answer a connection is treated as absent.
constexpr std::chrono::seconds kConnectPatience{15};

struct Library {
  Library() { mosquitto_lib_init(); }
  ~Library() { mosquitto_lib_cleanup(); }
};

std::string ErrorText(int code) {
  if (code == MOSQ_ERR_ERRNO) return std::strerror(errno);
  return mosquitto_strerror(code);
}

}  // namespace

MqttClient::MqttClient(Options options, LogFn log)
    : options_(std::move(options)), log_(std::move(log)) {
  static Library library;
  handle_ = mosquitto_new(options_.clientId.c_str(), true, this);
  if (!handle_) throw std::runtime_error("no MQTT client: " + std::string(std::strerror(errno)));
  if (options_.user)
    mosquitto_username_pw_set(handle_, options_.user->c_str(),
                              options_.password ? options_.password->c_str() : nullptr);
  if (!options_.willTopic.empty())
    mosquitto_will_set(handle_, options_.willTopic.c_str(),
                       static_cast<int>(options_.willPayload.size()), options_.willPayload.data(),
                       1, true);
  mosquitto_connect_callback_set(handle_, &MqttClient::ConnectCallback);
  mosquitto_disconnect_callback_set(handle_, &MqttClient::DisconnectCallback);
  mosquitto_message_callback_set(handle_, &MqttClient::MessageCallback);
}

MqttClient::~MqttClient() {
  mosquitto_destroy(handle_);
}

void MqttClient::TryConnect() {
  // Each attempt starts afresh: the broker's name is looked up again, so a
  // network that comes up after this program still gets used.
  const int code = mosquitto_connect_async(handle_, options_.host.c_str(), options_.port,
                                           options_.keepAliveSeconds);
  if (code != MOSQ_ERR_SUCCESS) {
    Lost(ErrorText(code));
    return;
  }
  state_ = State::Connecting;
  nextAttempt_ = std::chrono::steady_clock::now() + kConnectPatience;
}

void MqttClient::Lost(const std::string& why) {
  state_ = State::Idle;
  nextAttempt_ = std::chrono::steady_clock::now() + pause_;
  if (why != lastProblem_)
    log_("MQTT broker " + options_.host + ":" + std::to_string(options_.port) + ": " + why +
         "; trying again, at growing intervals");
  lastProblem_ = why;
  pause_ = std::min(pause_ * 2, kLongestPause);
}

void MqttClient::Step(std::chrono::milliseconds wait) {
  const auto now = std::chrono::steady_clock::now();
  if (state_ == State::Idle && now >= nextAttempt_) TryConnect();
  if (state_ == State::Idle) {
    std::this_thread::sleep_for(
        std::min<std::chrono::steady_clock::duration>(wait, nextAttempt_ - now));
    return;
  }
  const int code = mosquitto_loop(handle_, static_cast<int>(wait.count()), 1);
  if (code != MOSQ_ERR_SUCCESS && state_ != State::Idle) Lost(ErrorText(code));
  if (state_ == State::Connecting && std::chrono::steady_clock::now() > nextAttempt_)
    Lost("no answer");
}

bool MqttClient::Publish(const std::string& topic, const std::string& payload) {
  if (state_ != State::Connected) return false;
  return mosquitto_publish(handle_, nullptr, topic.c_str(), static_cast<int>(payload.size()),
                           payload.data(), 1, true) == MOSQ_ERR_SUCCESS;
}

void MqttClient::Close(const std::string& topic, const std::string& payload) {
  if (state_ != State::Connected) return;
  Publish(topic, payload);
  auto flush = [this] {
    for (int i = 0; i < 20 && mosquitto_want_write(handle_); ++i) mosquitto_loop(handle_, 50, 1);
  };
  flush();
  state_ = State::Idle;
  mosquitto_disconnect(handle_);
  flush();
}

void MqttClient::ConnectCallback(mosquitto*, void* self, int code) {
  auto* c = static_cast<MqttClient*>(self);
  if (code != 0) {
    c->Lost(mosquitto_connack_string(code));
    return;
  }
  c->state_ = State::Connected;
  c->pause_ = kFirstPause;
  c->lastProblem_.clear();
  c->log_("Connected to the MQTT broker " + c->options_.host + ":" +
          std::to_string(c->options_.port));
  for (const std::string& pattern : c->subscriptions_)
    mosquitto_subscribe(c->handle_, nullptr, pattern.c_str(), 1);
  if (c->onConnected_) c->onConnected_();
}

void MqttClient::DisconnectCallback(mosquitto*, void* self, int) {
  auto* c = static_cast<MqttClient*>(self);
  if (c->state_ != State::Idle) c->Lost("connection lost");
}

void MqttClient::MessageCallback(mosquitto*, void* self, const mosquitto_message* message) {
  auto* c = static_cast<MqttClient*>(self);
  if (!c->onMessage_ || !message->topic) return;
  const auto* bytes = static_cast<const char*>(message->payload);
  c->onMessage_(message->topic,
                bytes ? std::string(bytes, static_cast<size_t>(message->payloadlen)) : "",
                message->retain);
}

}  // namespace vmx::cli
