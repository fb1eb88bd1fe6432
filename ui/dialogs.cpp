#include "ui/dialogs.h"

#include <QFileDialog>
#include <QMessageBox>

namespace vmx {
namespace {

QMessageBox::Icon BoxIcon(Dialogs::Icon icon) {
  switch (icon) {
    case Dialogs::Icon::Warning:
      return QMessageBox::Warning;
    case Dialogs::Icon::Question:
      return QMessageBox::Question;
    case Dialogs::Icon::Information:
      break;
  }
  return QMessageBox::Information;
}

QString RunFileDialog(QWidget* owner, const Dialogs::FileRequest& request,
                      QFileDialog::AcceptMode mode) {
  QFileDialog dialog(owner, request.title, request.directory, request.filter);
  dialog.setObjectName(mode == QFileDialog::AcceptOpen ? "dlgOpen" : "dlgSave");
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(mode);
  dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                     : QFileDialog::AnyFile);
  if (!request.defaultSuffix.isEmpty()) dialog.setDefaultSuffix(request.defaultSuffix);
  if (!request.fileName.isEmpty()) dialog.selectFile(request.fileName);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().constFirst();
}

}  // namespace

bool QtDialogs::AskYesNo(const QString& caption, const QString& text, Icon icon, bool defaultYes) {
  QMessageBox box(BoxIcon(icon), caption, text, QMessageBox::Yes | QMessageBox::No, owner_);
  box.setObjectName("dlgQuestion");
  box.setDefaultButton(defaultYes ? QMessageBox::Yes : QMessageBox::No);
  return box.exec() == QMessageBox::Yes;
}

QString QtDialogs::OpenFileName(const FileRequest& request) {
  return RunFileDialog(owner_, request, QFileDialog::AcceptOpen);
}

QString QtDialogs::SaveFileName(const FileRequest& request) {
  // Qt's own chooser asks before an existing file is replaced.
  return RunFileDialog(owner_, request, QFileDialog::AcceptSave);
}

}  // namespace vmx
