// The program's few dialogs: yes/no questions and file choosers. Pages and the
// window ask through this interface, so tests answer the dialogs themselves.
#pragma once

#include <QString>

class QWidget;

namespace vmx {

class Dialogs {
 public:
  enum class Icon { Information, Warning, Question };

  struct FileRequest {
    QString title;
    QString directory;      // where the chooser opens
    QString fileName;       // proposed there, if any
    QString filter;         // Qt filter text, e.g. "Settings (*.ini);;All files (*)"
    QString defaultSuffix;  // appended to a name typed without one ("ini")
  };

  virtual ~Dialogs() = default;
  // True for "Yes".
  virtual bool AskYesNo(const QString& caption, const QString& text, Icon icon,
                        bool defaultYes) = 0;
  // The chosen file, or empty when the user cancelled.
  virtual QString OpenFileName(const FileRequest& request) = 0;
  // As OpenFileName; an existing file is confirmed before it is chosen.
  virtual QString SaveFileName(const FileRequest& request) = 0;
};

// The real dialogs, parented to `owner`. The file choosers are Qt's own rather
// than the desktop's, so they look and behave the same everywhere.
class QtDialogs final : public Dialogs {
 public:
  explicit QtDialogs(QWidget* owner) : owner_(owner) {}
  bool AskYesNo(const QString& caption, const QString& text, Icon icon, bool defaultYes) override;
  QString OpenFileName(const FileRequest& request) override;
  QString SaveFileName(const FileRequest& request) override;

 private:
  QWidget* owner_;
};

}  // namespace vmx
