// velmarinex-cli action PORT save|refresh|reef|clock|cloud|storm|health: the
// board's one-shot actions, as the Options menu and the trigger buttons run them.
#pragma once

namespace vmx::cli {

int ActionCommand(int argc, char** argv);
const char* ActionUsage();  // argv[0] is "action"

}  // namespace vmx::cli
