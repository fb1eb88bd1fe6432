// The serial ports of a Windows system: the values of the registry's serial
// port table, the port (COM3) in each value's data and the device behind it
// (\Device\BthModem0) in its name, in the table's order. Tests move it to a
// key of their own under the current user.
#pragma once

#include <string>

#include "app/port_source.h"

namespace vmx {

class RegistryPortSource final : public PortSource {
 public:
  enum class Root { LocalMachine, CurrentUser };
  explicit RegistryPortSource(Root root = Root::LocalMachine,
                              std::string key = "HARDWARE\\DEVICEMAP\\SERIALCOMM");

  // Throws when the table cannot be opened. A value that is not text, or
  // longer than the table's 255 characters, ends the list where it stands.
  std::vector<SerialDevice> Devices() override;

 private:
  Root root_;
  std::string key_;
};

}  // namespace vmx
