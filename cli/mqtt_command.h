// velmarinex-cli mqtt PORT --broker HOST[:PORT]: the board bridged to an MQTT
// broker (and Home Assistant) for as long as the command runs.
#pragma once

namespace vmx::cli {

int MqttCommand(int argc, char** argv);  // argv[0] is "mqtt"
const char* MqttUsage();
// The line of the command list; says so where this build has no bridge.
const char* MqttSummary();

}  // namespace vmx::cli
