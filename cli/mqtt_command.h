// velmarinex-cli mqtt PORT --broker HOST[:PORT]: the board bridged to an MQTT
// broker (and Home Assistant) for as long as the command runs.
#pragma once

namespace vmx::cli {

int MqttCommand(int argc, char** argv);  // argv[0] is "mqtt"
const char* MqttUsage();

}  // namespace vmx::cli
