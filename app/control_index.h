// The window's named objects, looked up by name in one table: passes over
// hundreds of names (texts of a language, enabling rules) would otherwise
// search the whole window once for each name.
#pragma once

#include <QHash>
#include <QString>

class QLabel;
class QObject;
class QWidget;

namespace vmx {

class ControlIndex {
 public:
  // A snapshot of `root` and the objects under it; it does not follow later changes.
  explicit ControlIndex(const QObject& root);

  // What root.findChild<QObject*>(name) finds: the same object where two
  // share a name.
  QObject* Find(const QString& name) const { return byName_.value(name); }
  // The first label whose buddy `edit` is, in the window's order.
  QLabel* Buddy(const QWidget* edit) const { return buddies_.value(edit); }

 private:
  void Visit(const QObject& parent);

  QHash<QString, QObject*> byName_;
  QHash<const QWidget*, QLabel*> buddies_;
};

}  // namespace vmx
