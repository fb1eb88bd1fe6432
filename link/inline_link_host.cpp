#include "link/inline_link_host.h"

namespace vmx {

bool InlineLinkHost::HandOff(const std::function<void()>& job) {
  if (shuttingDown_) return false;
  MutexLock g(lock_);
  job();
  return true;
}

}  // namespace vmx
