#include "app/apply_language.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTextEdit>

#include "app/control_index.h"
#include "lang/catalogue.h"
#include "lang/channel_text.h"
#include "lang/form_texts.h"
#include "lang/language_choice.h"
#include "ui/names.h"

namespace vmx {
namespace {

QString FromTable(const std::string& text) {
  return QString::fromStdString(text).replace("\r\n", "\n");
}

// The page's tab when `widget` is a page of a tab widget.
QTabWidget* TabOwner(const QWidget* widget) {
  for (QWidget* p = widget->parentWidget(); p; p = p->parentWidget())
    if (auto* tabs = qobject_cast<QTabWidget*>(p))
      return tabs->indexOf(widget) >= 0 ? tabs : nullptr;
  return nullptr;
}

QLabel* BuddyLabel(const QWidget* edit, const ControlIndex* index) {
  if (index) return index->Buddy(edit);
  const QWidget* window = edit->window();
  for (QLabel* label : window->findChildren<QLabel*>())
    if (label->buddy() == edit) return label;
  return nullptr;
}

void SetHint(QObject* control, const QString& hint) {
  if (auto* action = qobject_cast<QAction*>(control))
    action->setToolTip(hint);
  else if (auto* widget = qobject_cast<QWidget*>(control))
    widget->setToolTip(hint);
}

std::string Std(const QString& s) {
  return s.toStdString();
}

}  // namespace

QString ControlCaption(const QObject* control, const ControlIndex* index) {
  if (!control) return {};
  if (auto* a = qobject_cast<const QAction*>(control)) return a->text();
  if (auto* m = qobject_cast<const QMenu*>(control)) return m->title();
  if (auto* b = qobject_cast<const QAbstractButton*>(control)) return b->text();
  if (auto* g = qobject_cast<const QGroupBox*>(control)) return g->title();
  if (auto* l = qobject_cast<const QLabel*>(control)) return l->text();
  if (auto* p = qobject_cast<const QPlainTextEdit*>(control)) return p->toPlainText();
  if (auto* t = qobject_cast<const QTextEdit*>(control)) return t->toPlainText();
  if (auto* w = qobject_cast<const QWidget*>(control)) {
    if (QTabWidget* tabs = TabOwner(w)) return tabs->tabText(tabs->indexOf(w));
    if (QLabel* label = BuddyLabel(w, index)) return label->text();
  }
  return {};
}

void SetControlCaption(QObject* control, const QString& caption, const ControlIndex* index) {
  if (!control) return;
  if (auto* a = qobject_cast<QAction*>(control)) {
    a->setText(caption);
  } else if (auto* m = qobject_cast<QMenu*>(control)) {
    m->setTitle(caption);
  } else if (auto* b = qobject_cast<QAbstractButton*>(control)) {
    b->setText(caption);
  } else if (auto* g = qobject_cast<QGroupBox*>(control)) {
    g->setTitle(caption);
  } else if (auto* l = qobject_cast<QLabel*>(control)) {
    l->setText(caption);
  } else if (auto* p = qobject_cast<QPlainTextEdit*>(control)) {
    // A text ending in a line break ends its last line; it adds no empty one.
    p->setPlainText(caption.endsWith('\n') ? caption.chopped(1) : caption);
  } else if (auto* t = qobject_cast<QTextEdit*>(control)) {
    t->setPlainText(caption);
  } else if (auto* w = qobject_cast<QWidget*>(control)) {
    if (QTabWidget* tabs = TabOwner(w))
      tabs->setTabText(tabs->indexOf(w), caption);
    else if (QLabel* label = BuddyLabel(w, index))
      label->setText(caption);
  }
}

int ApplyLanguage(QWidget& form, int language) {
  language = LoadLanguage(language);
  const auto table = CurrentTable();
  const ControlIndex index(form);
  for (const FormText& t : FormTexts(*table)) {
    QObject* control = index.Find(QString::fromStdString(t.control));
    if (!control) continue;
    if (t.hint)
      SetHint(control, FromTable(t.text));
    else
      SetControlCaption(control, FromTable(t.text), &index);
  }

  if (auto* box = form.findChild<QComboBox*>(names::cmbLanguage)) {
    box->clear();
    box->addItem(QString::fromStdString(LangText("English")));
    box->addItem(QString::fromStdString(LangText("German")));
    box->setCurrentIndex(language);
  }

  // Channel 0's controls hold the templates, so they are overwritten last.
  const QString on = ControlCaption(index.Find(names::btnOn0), &index);
  const QString off = ControlCaption(index.Find(names::btnOff0), &index);
  const std::string name = Std(ControlCaption(index.Find(names::lblName0), &index));
  for (int n = kChannelCount - 1; n >= 0; --n) {
    const QString number = QString::number(n);
    SetControlCaption(index.Find(names::stem::btnOn + number), on, &index);
    SetControlCaption(index.Find(names::stem::btnOff + number), off, &index);
    SetControlCaption(index.Find(names::stem::lblName + number),
                      QString::fromStdString(FormatText(name, {ChannelLetter(n)})), &index);
  }

  QObject* channels = index.Find(names::tsChannels);
  const std::string pages = Std(ControlCaption(channels, &index));
  SetControlCaption(index.Find(names::tsChannelsGL), QString::fromStdString(FormatText(pages, {"G-L"})),
                    &index);
  SetControlCaption(channels, QString::fromStdString(FormatText(pages, {"A-F"})), &index);

  for (const char* source : {"TempWater", "TempBoard", "Voltage", "TempSlave"}) {
    if (QObject* radio = index.Find(QString(names::stem::rbtCHM) + source))
      SetControlCaption(index.Find(QString(names::stem::mnuCHM) + source), ControlCaption(radio, &index),
                        &index);
  }
  for (const char* sensor : {"TempWater", "TempBoard"}) {
    if (QObject* radio = index.Find(QString(names::stem::rbtCHM) + sensor))
      SetControlCaption(index.Find(QString(names::stem::edtCloud) + sensor), ControlCaption(radio, &index),
                        &index);
  }
  return language;
}

}  // namespace vmx
