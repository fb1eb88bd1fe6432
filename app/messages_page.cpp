#include "app/messages_page.h"
#include "ui/names.h"

#include <QEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QVBoxLayout>

namespace vmx {

MessagesPage::MessagesPage(PageContext& context)
    : Page(context, names::tsMessages), mem_(new QPlainTextEdit(this)) {
  mem_->setObjectName(names::mem);
  mem_->setReadOnly(true);
  mem_->setLineWrapMode(QPlainTextEdit::NoWrap);
  mem_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  mem_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  mem_->viewport()->installEventFilter(this);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(mem_);
}

void MessagesPage::Append(const QString& entry) {
  QString text = entry;
  text.replace("\r\n", "\n");
  mem_->appendPlainText(text);
  mem_->verticalScrollBar()->setValue(mem_->verticalScrollBar()->maximum());
}

bool MessagesPage::eventFilter(QObject* watched, QEvent* event) {
  if (watched == mem_->viewport() && event->type() == QEvent::MouseButtonDblClick) {
    emit doubleClicked();  // the word under the mouse is still selected
  }
  return Page::eventFilter(watched, event);
}

}  // namespace vmx
