// The serial port of a Bluetooth device: an RFCOMM channel bound to a
// /dev/rfcommN device that connects when it is opened.
#pragma once

#include <string>
#include <vector>

#include "bluetooth/bluetooth.h"

namespace vmx {

struct RfcommBinding {
  int id = -1;          // N of /dev/rfcommN
  std::string address;  // the remote device, 00:11:22:AA:BB:CC
  int channel = 0;
};

class RfcommBinder {
 public:
  virtual ~RfcommBinder() = default;
  virtual BtResult List(std::vector<RfcommBinding>& bindings) = 0;
  // The channel of the device's serial port service record.
  virtual BtResult FindChannel(const std::string& address, int& channel) = 0;
  virtual BtResult Bind(const std::string& address, int channel, int& id) = 0;
  virtual BtResult Release(int id) = 0;
  // Any thread: a pending or later call returns at once with an error.
  virtual void Interrupt() {}
};

}  // namespace vmx
