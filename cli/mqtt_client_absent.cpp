// A build without libmosquitto (the Windows one) has no MQTT connection. The
// service refuses --mqtt there before any bridge is made; should one be made
// all the same, it says so once and never connects.
#include "cli/mqtt_client.h"
#include "lang/catalogue.h"

namespace vmx::cli {

bool MqttInThisBuild() {
  return false;
}

MqttClient::MqttClient(Options options, LogFn log)
    : options_(std::move(options)), log_(std::move(log)) {
  if (log_) log_(LangText("ServiceNoMqtt"));
}

MqttClient::~MqttClient() = default;

void MqttClient::Step(std::chrono::milliseconds) {}

bool MqttClient::Publish(const std::string&, const std::string&) {
  return false;
}

void MqttClient::Close(const std::string&, const std::string&) {}

}  // namespace vmx::cli
