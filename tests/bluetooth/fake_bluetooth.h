// A Bluetooth stack the test scripts: its devices, and the failures of each
// operation. Safe to drive from the worker's thread while the test looks on.
#pragma once

#include <functional>
#include <map>
#include <mutex>
#include <stdexcept>
#include <string>
#include <vector>

#include "bluetooth/bluetooth.h"

namespace vmx::testing {

class FakeBluetooth final : public Bluetooth {
 public:
  BtResult StartDiscovery() override {
    return Step([&] { return startError; });
  }
  void StopDiscovery() override {}
  BtResult ListDevices(std::vector<BtDevice>& out) override {
    std::lock_guard g(lock_);
    if (throwOnList) throw std::runtime_error("Out of memory");
    out.clear();
    for (const auto& [id, d] : devices) out.push_back(d);
    return {};
  }
  BtResult ReadDevice(const std::string& id, BtDevice& out) override {
    std::lock_guard g(lock_);
    ++reads[id];
    if (readError)
      if (BtResult e = readError(id)) return e;
    out = devices.at(id);
    if (connectedReadings.contains(id)) out.connected = reads[id] <= connectedReadings[id];
    return {};
  }
  BtResult Pair(const std::string& id, const std::string& pin) override {
    std::lock_guard g(lock_);
    pins.push_back(pin);
    devices.at(id).paired = true;
    return {};
  }
  BtResult RemoveDevice(const std::string& id) override {
    std::lock_guard g(lock_);
    ++removals;
    if (onRemove) onRemove(id);
    if (removeError) return removeError;
    devices.erase(id);
    return {};
  }
  void Interrupt() override {}

  BtDevice& Add(const std::string& address, const std::string& name, bool paired = false) {
    std::lock_guard g(lock_);
    BtDevice& d = devices["/dev_" + address];
    d = {"/dev_" + address, address, name, paired, false, {"00001101-0000-1000-8000-00805f9b34fb"}};
    return d;
  }
  std::map<std::string, BtDevice> devices;
  BtResult startError;
  BtResult removeError;
  bool throwOnList = false;
  std::function<BtResult(const std::string&)> readError;
  std::map<std::string, int> connectedReadings;  // connected for this many readings
  std::function<void(const std::string&)> onRemove;
  std::map<std::string, int> reads;
  std::vector<std::string> pins;
  int removals = 0;

 private:
  template <class F>
  BtResult Step(F f) {
    std::lock_guard g(lock_);
    return f();
  }
  std::mutex lock_;
};

}  // namespace vmx::testing
