// velmarinex-cli set PORT KEY=VALUE...: write single settings to a board by
// their settings-file keys ("FanLow=77", "Weather.CloudP=76", "3.Hour=8").
#pragma once

namespace vmx::cli {

int SetCommand(int argc, char** argv);  // argv[0] is "set"
const char* SetUsage();

}  // namespace vmx::cli
