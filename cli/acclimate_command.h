// velmarinex-cli acclimate: a board's acclimation plan made, shown, applied
// for today, resumed or cancelled.
#pragma once

namespace vmx::cli {

int AcclimateCommand(int argc, char** argv);  // argv[0] is "acclimate"
const char* AcclimateUsage();

class BoardSession;
// After a schedule edit the board has taken: a running acclimation plan of the
// board takes the edited rows as its target instead of pausing at its next
// step. A plan that cannot be stored is said on stderr.
void AdoptScheduleEditOf(BoardSession& session);

}  // namespace vmx::cli
