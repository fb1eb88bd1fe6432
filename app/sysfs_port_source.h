// The serial devices of a Linux system: every tty class entry that has a
// device behind it, plus the Bluetooth RFCOMM bindings. Both roots can be
// moved so tests can build a tree of their own.
#pragma once

#include <filesystem>

#include "app/port_source.h"

namespace vmx {

class SysfsPortSource final : public PortSource {
 public:
  explicit SysfsPortSource(std::filesystem::path ttyClass = "/sys/class/tty",
                           std::filesystem::path devices = "/dev");

  // Ordered by the creation time of the device node, so the last one is the
  // most recently added; names break ties.
  std::vector<SerialDevice> Devices() override;

 private:
  std::filesystem::path ttyClass_;
  std::filesystem::path devices_;
};

}  // namespace vmx
