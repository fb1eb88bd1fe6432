// A port source the test fills in; it fails on request like an unreadable table.
#pragma once

#include <stdexcept>
#include <vector>

#include "app/port_source.h"

namespace vmx::testing {

class FakePortSource final : public PortSource {
 public:
  std::vector<SerialDevice> Devices() override {
    if (failing) throw std::runtime_error("Access denied");
    return devices;
  }
  std::vector<SerialDevice> devices;
  bool failing = false;
};

}  // namespace vmx::testing
