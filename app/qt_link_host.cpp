#include "app/qt_link_host.h"

#include <QFile>

#include "app/file_info_text.h"

namespace vmx {

QtLinkHost::QtLinkHost(std::shared_ptr<HandOffQueue> queue, LinkReports& reports)
    : queue_(std::move(queue)), reports_(reports) {}

bool QtLinkHost::HandOff(const std::function<void()>& job) {
  return queue_->Run(job);
}

void QtLinkHost::LogLine(const std::string& text) {
  reports_.LogLine(text);
}

void QtLinkHost::StatusLine(const std::string& text) {
  reports_.StatusLine(text);
}

void QtLinkHost::Progress(const std::string& text, int64_t done, int64_t total) {
  reports_.Progress(text, done, total);
}

void QtLinkHost::LinkState(bool connected) {
  if (current_) reports_.LinkState(connected);
}

void QtLinkHost::UpdatePage(RecordKind page) {
  reports_.UpdatePage(page);
}

// A worker on its way out asks the user nothing.
std::string QtLinkHost::ChooseFirmwareFile() {
  return current_ ? reports_.ChooseFirmwareFile() : std::string();
}

std::string QtLinkHost::FileInfoText(const std::string& path) {
  return vmx::FileInfoText(QFile::decodeName(QByteArray::fromStdString(path))).toStdString();
}

void QtLinkHost::FirmwareFinished(const FirmwareResult& result) {
  reports_.FirmwareFinished(result);
}

}  // namespace vmx
