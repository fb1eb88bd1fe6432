// The window's part in a firmware update: the confirmation, the file chooser
// the worker asks for, and the taskbar once the update is over. The update
// itself runs in the link worker.
#include <QFile>
#include <QFileInfo>

#include "app/frm_lantix.h"
#include "app/messages_page.h"
#include "lang/catalogue.h"
#include "ui/text.h"

namespace vmx {
namespace {

constexpr const char* kProduct = "Velmarinex 2.x";
constexpr const char* kFilePrefix = "Velmarinex2x";
constexpr const char* kFirmwareVersion = "4";

}  // namespace

void TfrmLantix::mnuFirmwareUpdateClick() {
  // The item counts as enabled only while a worker runs, also for its shortcut,
  // whose item may not have been looked at since the link went.
  if (!connection_->WorkerRunning()) return;
  // The message box breaks lines at line feeds; the table's breaks are CR LF.
  QString text = Q(LangText("FlashDlgText"));
  text.replace("\r\n", "\n");
  if (!Ask().AskYesNo(Q(LangText("FlashDlgCaption")), text, Dialogs::Icon::Warning, false)) return;
  store_.Raise(request::Bootloader);
}

std::string TfrmLantix::ChooseFirmwareFile() {
  Dialogs::FileRequest request;
  request.title = Q(LangFormat("ChooseFirmware", {kProduct}));
  request.directory = appDir_;
  request.fileName = appDir_ + kFilePrefix + kFirmwareVersion + ".vxh";
  // File names keep their case here, so both spellings of the extension count.
  const QString pattern = QString(kFilePrefix) + "*.";
  request.filter =
      Q(LangFormat("FirmwareFile", {kProduct})) + " (" + pattern + "vxh " + pattern + "VXH)";
  request.defaultSuffix = "vxh";
  const QString chosen = Ask().OpenFileName(request);
  const QFileInfo file(chosen);
  if (chosen.isEmpty() || !file.isFile()) return {};
  ShowPage(messages_);
  return QFile::encodeName(file.absoluteFilePath()).toStdString();
}

void TfrmLantix::FirmwareFinished(const FirmwareResult&) {
  // The transfer left the bar part-filled; it is full again, in the link's colour.
  SetTaskbarProgress(1, 1);
}

}  // namespace vmx
