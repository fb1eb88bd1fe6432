// Preferences kept in memory only: the demonstration board's pty must not
// become the user's remembered port, and tests need a store they can break.
#pragma once

#include "persist/preferences.h"

namespace vmx {

class MemoryPreferences final : public Preferences {
 public:
  bool KeyExists() override { return exists; }
  std::optional<std::string> ReadPort() override {
    if (unreadable) return std::nullopt;
    return port;
  }
  bool WritePort(const std::string& value) override {
    if (readOnly) return false;
    exists = true;
    port = value;
    return true;
  }
  void DeleteKey() override {
    exists = false;
    port.clear();
  }

  bool exists = false;
  std::string port;
  bool unreadable = false;  // the value is there but not text
  bool readOnly = false;    // writes are refused
};

}  // namespace vmx
