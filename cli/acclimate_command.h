// velmarinex-cli acclimate: a board's acclimation plan made, shown, applied
// for today, resumed or cancelled.
#pragma once

namespace vmx::cli {

int AcclimateCommand(int argc, char** argv);  // argv[0] is "acclimate"
const char* AcclimateUsage();

}  // namespace vmx::cli
