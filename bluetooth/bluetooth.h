// The Bluetooth operations the installer needs from the system: a radio
// search, the devices the system knows, pairing, removal. Linux reaches them
// through BlueZ; tests put a double of their own in their place.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vmx {

// A failure as the system names it: a D-Bus error name or an errno name, and
// the system's text for it.
struct BtError {
  std::string name;
  std::string text;
};
// Empty on success.
using BtResult = std::optional<BtError>;

// One remote device as the system sees it now.
struct BtDevice {
  std::string id;       // the system's handle for it (BlueZ: the object path)
  std::string address;  // 00:11:22:AA:BB:CC
  std::string name;     // the name the device itself sent; empty until it has
  bool paired = false;
  bool connected = false;
  std::vector<std::string> services;  // service class UUIDs, lower case
};

class Bluetooth {
 public:
  virtual ~Bluetooth() = default;

  // Starts the radio search for devices nearby; it runs until StopDiscovery.
  virtual BtResult StartDiscovery() = 0;
  virtual void StopDiscovery() = 0;
  // Every device the system knows: found by a search, paired or connected.
  virtual BtResult ListDevices(std::vector<BtDevice>& devices) = 0;
  virtual BtResult ReadDevice(const std::string& id, BtDevice& device) = 0;
  // Pairs with the PIN, answering only for this device, and trusts it.
  virtual BtResult Pair(const std::string& id, const std::string& pin) = 0;
  virtual BtResult RemoveDevice(const std::string& id) = 0;
  // Any thread: a pending or later call returns at once with an error.
  virtual void Interrupt() = 0;
};

}  // namespace vmx
