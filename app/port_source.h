// Where the serial-port list comes from: the system's serial devices, or
// whatever a test feeds in.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace vmx {

struct SerialDevice {
  std::string path;         // what the link worker opens, e.g. /dev/ttyUSB0
  std::string description;  // the system's name for the device behind it
};

class PortSource {
 public:
  virtual ~PortSource() = default;
  // The devices present now, the most recently added last. Throws
  // std::exception when the system's table cannot be read.
  virtual std::vector<SerialDevice> Devices() = 0;
};

// This system's serial devices: /sys/class/tty here, the registry's serial
// port table on Windows.
std::unique_ptr<PortSource> MakeSystemPortSource();

}  // namespace vmx
