#include "link/access_hint.h"

#include <pwd.h>
#include <unistd.h>

#include <atomic>
#include <vector>

#include "lang/catalogue.h"

namespace vmx {
namespace {

// The login name, so the command can be pasted as it stands; the shell's
// variable where the account cannot be looked up.
std::string UserName() {
  std::vector<char> buffer(4096);
  passwd entry{};
  passwd* found = nullptr;
  if (::getpwuid_r(::geteuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found &&
      found->pw_name && *found->pw_name)
    return found->pw_name;
  return "$USER";
}

}  // namespace

std::optional<std::string> TakeAccessHint() {
  static std::atomic<bool> given{false};
  if (given.exchange(true)) return std::nullopt;
  return LangFormat("NoPortPermission", {UserName()});
}

}  // namespace vmx
