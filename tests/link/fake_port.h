// What every port made up for a test keeps alike: its name, whether it is
// open, and the error a closed port gives.
#pragma once

#include <string>

#include "link/serial_port.h"

namespace vmx::testing {

class FakePort : public SerialPort {
 public:
  void Open(const std::string& name) override {
    name_ = name;
    open_ = true;
  }
  void Close() override { open_ = false; }
  bool IsOpen() const override { return open_; }
  const std::string& Name() const override { return name_; }
  void Interrupt() override {}

 protected:
  void RequireOpen() const {
    if (!open_) throw SerialError(name_ + ": port not open");
  }

 private:
  std::string name_;
  bool open_ = false;
};

}  // namespace vmx::testing
