// The kernel's RFCOMM tty bindings, through its ioctls. Listing is open to
// everyone; binding and releasing need CAP_NET_ADMIN (EPERM otherwise).
#pragma once

#include <string>
#include <vector>

#include "bluetooth/bluetooth.h"
#include "bluetooth/rfcomm_binder.h"

namespace vmx::rfcomm {

// errno as a failure: its symbolic name and the system's text.
BtError ErrnoError(int code);

// A kernel without RFCOMM has no bindings, which is no failure.
BtResult ListBindings(std::vector<RfcommBinding>& bindings);
// /dev/rfcomm<id> for the device's channel; the kernel picks the first free id.
BtResult CreateBinding(const std::string& address, int channel, int& id);
BtResult ReleaseBinding(int id);

}  // namespace vmx::rfcomm
