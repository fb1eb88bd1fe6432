// RFCOMM bindings made by the kernel. Binding and releasing need
// CAP_NET_ADMIN: without it the binder asks the helper program beside the
// executable (velmarinex-rfcomm), first as it is (it may carry the
// capability itself) and then through pkexec, where polkit decides.
#pragma once

#include <atomic>
#include <string>
#include <vector>

#include "bluetooth/rfcomm_binder.h"

namespace vmx {

class KernelRfcommBinder final : public RfcommBinder {
 public:
  // `helper`: the helper program; empty: velmarinex-rfcomm beside this executable.
  explicit KernelRfcommBinder(std::string helper = {});

  BtResult List(std::vector<RfcommBinding>& bindings) override;
  BtResult FindChannel(const std::string& address, int& channel) override;
  BtResult Bind(const std::string& address, int channel, int& id) override;
  BtResult Release(int id) override;
  void Interrupt() override { interrupted_ = true; }

 private:
  // Runs the helper with `args`; its first output line is the id or the error.
  BtResult RunHelper(const std::vector<std::string>& args, int& id);
  BtResult Spawn(const std::vector<std::string>& argv, int& status, std::string& output);

  std::string helper_;
  std::atomic<bool> interrupted_{false};
};

}  // namespace vmx
