#include "app/qt_link_session.h"

namespace vmx {

QtLinkSession::QtLinkSession(std::shared_ptr<HandOffQueue> queue, LinkReports& reports,
                             SharedStore& store, WorkerReaper& reaper, const std::string& port,
                             bool debug, LinkTiming timing)
    : reaper_(reaper), host_(std::make_shared<QtLinkHost>(std::move(queue), reports)) {
  worker_ = TthdCom::Create(port, debug, store, *host_, timing);
}

QtLinkSession::~QtLinkSession() {
  host_->Retire();
  // The worker goes first: its host must outlive every hand-off it makes.
  reaper_.Adopt([worker = std::move(worker_), host = std::move(host_)]() mutable {
    worker.reset();
    host.reset();
  });
}

bool QtLinkSession::Running() const {
  return !worker_->LinkClosed();
}

void QtLinkSession::SetPort(const std::string& port, bool debug) {
  worker_->SetPort(port, debug);
}

void QtLinkSession::Terminate() {
  worker_->Terminate();
}

void QtLinkSession::Abort() {
  worker_->Abort();
}

bool QtLinkSession::WaitClosed(std::chrono::milliseconds timeout) {
  return worker_->WaitClosed(timeout);
}

}  // namespace vmx
