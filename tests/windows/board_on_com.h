// The simulated board as a Windows program meets it: on a COM port that Wine
// maps to the board's pty. tests/windows/with-board starts the board and
// names the port, the board's console (where faults are typed) and the file
// where it shows the traffic.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>

#include "tests/plain_files.h"

namespace vmx::testing {

inline std::string FromEnvironment(const char* name) {
  const char* value = std::getenv(name);
  if (!value || !*value)
    ADD_FAILURE() << name << " is not set: run this under tests/windows/with-board";
  return value ? value : "";
}

class BoardOnCom : public ::testing::Test {
 protected:
  void SetUp() override {
    port_ = FromEnvironment("VMX_TEST_PORT");
    console_ = FromEnvironment("VMX_SIM_CONTROL");
    traffic_ = FromEnvironment("VMX_SIM_LOG");
    Type("clear");
  }

  // A line typed on the board's console.
  void Type(const std::string& line) {
    std::ofstream console(console_, std::ios::binary | std::ios::app);
    console << line << "\n" << std::flush;
    // The board reads its console between exchanges; let it take the line.
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }

  std::string Traffic() const { return ReadAll(traffic_); }
  const std::string& Port() const { return port_; }

 private:
  std::string port_, console_, traffic_;
};

}  // namespace vmx::testing
