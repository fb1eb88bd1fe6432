// The per-user store of the program's one preference: a key for the product
// holding the string value "Port". It can be missing, created, read, written
// and deleted; every failure is reported to the caller, never thrown.
#pragma once

#include <optional>
#include <string>

namespace vmx {

class Preferences {
 public:
  virtual ~Preferences() = default;

  virtual bool KeyExists() = 0;
  // The "Port" value: empty when the key holds none, nullopt when it cannot be
  // read as text.
  virtual std::optional<std::string> ReadPort() = 0;
  // Creates the key when needed; false when refused.
  virtual bool WritePort(const std::string& port) = 0;
  // Deletes the key with everything in it.
  virtual void DeleteKey() = 0;
};

}  // namespace vmx
