// The Messages page: the read-only message log `mem`, only ever appended to.
#pragma once

#include "ui/page.h"

class QPlainTextEdit;

namespace vmx {

class MessagesPage final : public Page {
  Q_OBJECT

 public:
  explicit MessagesPage(PageContext& context);

  // Appends one entry, which may span several lines (CR LF or LF).
  void Append(const QString& entry);
  QPlainTextEdit* mem() const { return mem_; }

 signals:
  void doubleClicked();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QPlainTextEdit* mem_;
};

}  // namespace vmx
