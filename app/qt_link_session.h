// One link worker with its host. When the session goes, the worker is handed
// to the reaper: the caller never waits for it.
#pragma once

#include <chrono>
#include <memory>
#include <string>

#include "app/link_session.h"
#include "app/qt_link_host.h"
#include "app/worker_reaper.h"
#include "link/thd_com.h"

namespace vmx {

class QtLinkSession final : public LinkSession {
 public:
  QtLinkSession(std::shared_ptr<HandOffQueue> queue, LinkReports& reports, SharedStore& store,
                WorkerReaper& reaper, const std::string& port, bool debug, LinkTiming timing);
  ~QtLinkSession() override;

  bool Running() const override;
  void SetPort(const std::string& port, bool debug) override;
  void Terminate() override;
  void Abort() override;
  bool WaitClosed(std::chrono::milliseconds timeout) override;

 private:
  WorkerReaper& reaper_;
  std::shared_ptr<QtLinkHost> host_;
  std::shared_ptr<TthdCom> worker_;
};

}  // namespace vmx
