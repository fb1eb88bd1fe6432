#include "app/apply_language.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QHash>
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

Language ApplyLanguage(QWidget& form, std::optional<Language> requested) {
  const Language language = LoadLanguage(requested);
  ApplyLanguageTexts(form, language);
  return language;
}

void ApplyLanguageTexts(QObject& root, Language language) {
  const auto table = CurrentTable();
  const ControlIndex index(root);
  // The templates and the captions others take over come from the table, so a
  // page captioned on its own reads them as the whole window does.
  QHash<QString, QString> captions;
  for (const FormText& t : FormTexts(*table)) {
    const QString name = QString::fromStdString(t.control);
    const QString text = FromTable(t.text);
    if (!t.hint) captions.insert(name, text);
    QObject* control = index.Find(name);
    if (!control) continue;
    if (t.hint)
      SetHint(control, text);
    else
      SetControlCaption(control, text, &index);
  }

  if (auto* box = qobject_cast<QComboBox*>(index.Find(names::cmbLanguage))) {
    box->clear();
    box->addItem(QString::fromStdString(LangText("English")));
    box->addItem(QString::fromStdString(LangText("German")));
    box->setCurrentIndex(static_cast<int>(language));
  }

  // Channel 0's captions are the templates of all twelve.
  const QString on = captions.value(names::btnOn0);
  const QString off = captions.value(names::btnOff0);
  const std::string name = Std(captions.value(names::lblName0));
  for (int n = kChannelCount - 1; n >= 0; --n) {
    SetControlCaption(index.Find(names::Indexed(names::stem::btnOn, n)), on, &index);
    SetControlCaption(index.Find(names::Indexed(names::stem::btnOff, n)), off, &index);
    SetControlCaption(index.Find(names::Indexed(names::stem::lblName, n)),
                      QString::fromStdString(FormatText(name, {ChannelLetter(n)})), &index);
  }

  const std::string pages = Std(captions.value(names::tsChannels));
  SetControlCaption(index.Find(names::tsChannelsGL),
                    QString::fromStdString(FormatText(pages, {"G-L"})), &index);
  SetControlCaption(index.Find(names::tsChannels),
                    QString::fromStdString(FormatText(pages, {"A-F"})), &index);

  // The chart's pop-up menu and the cloud temperature edits name the sensors
  // as the chart-source radio buttons do.
  for (const char* source : {"TempWater", "TempBoard", "Voltage", "TempSlave"}) {
    const QString radio = QString(names::stem::rbtCHM) + source;
    if (captions.contains(radio))
      SetControlCaption(index.Find(QString(names::stem::mnuCHM) + source), captions.value(radio),
                        &index);
  }
  for (const char* sensor : {"TempWater", "TempBoard"}) {
    const QString radio = QString(names::stem::rbtCHM) + sensor;
    if (captions.contains(radio))
      SetControlCaption(index.Find(QString(names::stem::edtCloud) + sensor),
                        captions.value(radio), &index);
  }
}

}  // namespace vmx
