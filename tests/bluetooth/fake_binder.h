// An RFCOMM binder without a kernel: the service records and the bindings
// are the test's, and each new binding can leave a device node behind.
#pragma once

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "bluetooth/rfcomm_binder.h"

namespace vmx::testing {

struct FakeBinderState {
  std::mutex lock;
  std::map<std::string, int> records;  // address -> channel of its serial port record
  std::vector<RfcommBinding> bindings;
  std::optional<BtError> bindError;   // every Bind fails with it
  std::function<void(int id)> bound;  // called after each new binding
  int binds = 0;
  int releases = 0;

  std::vector<RfcommBinding> Bindings() {
    std::lock_guard g(lock);
    return bindings;
  }
};

class FakeBinder final : public RfcommBinder {
 public:
  explicit FakeBinder(std::shared_ptr<FakeBinderState> state) : state_(std::move(state)) {}

  BtResult List(std::vector<RfcommBinding>& bindings) override {
    std::lock_guard g(state_->lock);
    bindings = state_->bindings;
    return {};
  }
  BtResult FindChannel(const std::string& address, int& channel) override {
    std::lock_guard g(state_->lock);
    auto it = state_->records.find(address);
    if (it == state_->records.end())
      return BtError{"org.bluez.Error.DoesNotExist", "No serial port service record"};
    channel = it->second;
    return {};
  }
  BtResult Bind(const std::string& address, int channel, int& id) override {
    std::function<void(int)> bound;
    {
      std::lock_guard g(state_->lock);
      ++state_->binds;
      if (state_->bindError) return state_->bindError;
      id = 0;
      while (std::any_of(state_->bindings.begin(), state_->bindings.end(),
                         [&](const RfcommBinding& b) { return b.id == id; }))
        ++id;
      state_->bindings.push_back({id, address, channel});
      bound = state_->bound;
    }
    if (bound) bound(id);
    return {};
  }
  BtResult Release(int id) override {
    std::lock_guard g(state_->lock);
    ++state_->releases;
    std::erase_if(state_->bindings, [&](const RfcommBinding& b) { return b.id == id; });
    return {};
  }

 private:
  std::shared_ptr<FakeBinderState> state_;
};

}  // namespace vmx::testing
