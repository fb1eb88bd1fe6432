#include "app/control_index.h"

#include <QLabel>

namespace vmx {

ControlIndex::ControlIndex(const QObject& root) {
  // A page indexed on its own is found by its name too.
  if (!root.objectName().isEmpty())
    byName_.insert(root.objectName(), const_cast<QObject*>(&root));
  Visit(root);
  // Inserted from the last, so the first label in the window's order stays.
  const QList<QLabel*> labels = root.findChildren<QLabel*>();
  for (auto it = labels.crbegin(); it != labels.crend(); ++it)
    if (const QWidget* buddy = (*it)->buddy()) buddies_.insert(buddy, *it);
}

void ControlIndex::Visit(const QObject& parent) {
  // findChild looks at all direct children before it descends into the
  // first of them; the first object met in that order keeps the name.
  const QObjectList& children = parent.children();
  for (QObject* child : children) {
    const QString name = child->objectName();
    if (!name.isEmpty() && !byName_.contains(name)) byName_.insert(name, child);
  }
  for (QObject* child : children) Visit(*child);
}

}  // namespace vmx
