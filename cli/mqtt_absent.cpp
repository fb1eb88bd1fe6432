// The command list of a build without libmosquitto (the Windows one) still
// names mqtt, and says why it cannot run, instead of calling it unknown.
#include <cstdio>

#include "cli/mqtt_command.h"

namespace vmx::cli {
namespace {

const char* const kUsage =
    "usage: velmarinex-cli mqtt PORT --broker HOST[:PORT] ...\n"
    "  Not in this build: it has no MQTT library. The bridge comes with the\n"
    "  Linux build of velmarinex-cli.\n";

}  // namespace

int MqttCommand(int, char**) {
  std::fputs(kUsage, stderr);
  return 2;
}

const char* MqttUsage() {
  return kUsage;
}

const char* MqttSummary() {
  return "(not in this build) bridge a board to an MQTT broker and Home Assistant";
}

}  // namespace vmx::cli
