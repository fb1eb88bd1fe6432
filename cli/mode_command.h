// velmarinex-cli mode PORT manual|auto|geo|rgbdemo|flash: the board's operating mode.
#pragma once

namespace vmx::cli {

int ModeCommand(int argc, char** argv);
const char* ModeUsage();  // argv[0] is "mode"

}  // namespace vmx::cli
