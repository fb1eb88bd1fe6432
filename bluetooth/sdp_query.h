// Asks a device over L2CAP which RFCOMM channel its serial port service
// listens on. Needs no privilege.
#pragma once

#include <atomic>
#include <string>

#include "bluetooth/bluetooth.h"

namespace vmx {

// Gives up after `timeoutMs` per step, or at once when `interrupted` is set.
BtResult QuerySerialPortChannel(const std::string& address, int& channel,
                                const std::atomic<bool>& interrupted, int timeoutMs = 10000);

}  // namespace vmx
