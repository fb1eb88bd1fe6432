#include "link/access_hint.h"

namespace vmx {

// Windows grants serial ports to every user: a port that cannot be opened is
// missing or held by another program, and the port's own error says which.
std::optional<std::string> TakeAccessHint() {
  return std::nullopt;
}

}  // namespace vmx
