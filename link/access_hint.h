// What to tell a user who may not open serial ports: on Debian and its kin the
// devices belong to the group dialout, and membership takes effect at the next
// login.
#pragma once

#include <optional>
#include <string>

namespace vmx {

// The log line naming the fix, in the current language, for the first denied
// opening of this run; empty after that. One fix covers every port and every
// retry, so repeating it would only bury the rest of the log.
std::optional<std::string> TakeAccessHint();

}  // namespace vmx
