#include "app/link_state_view.h"

#include <QAction>
#include <QMenu>
#include <QWidget>

#include "app/control_index.h"

namespace vmx {
namespace {

void SetEnabled(QObject* control, bool enabled) {
  if (auto* action = qobject_cast<QAction*>(control))
    action->setEnabled(enabled);
  else if (auto* menu = qobject_cast<QMenu*>(control))
    menu->menuAction()->setEnabled(enabled);
  else if (auto* widget = qobject_cast<QWidget*>(control))
    widget->setEnabled(enabled);
}

}  // namespace

LinkStateView::LinkStateView(QWidget& form) {
  const ControlIndex index(form);
  for (const LinkStateRow& row : LinkStateTable()) {
    Row resolved{row.condition, {}};
    for (std::string_view pattern : row.names) {
      for (const std::string& name : ExpandControlName(pattern)) {
        const QString qname = QString::fromStdString(name);
        if (QObject* control = index.Find(qname))
          resolved.controls.emplace_back(control);
        else
          missing_.append(qname);
      }
    }
    rows_.push_back(std::move(resolved));
  }
}

void LinkStateView::Adopt(QObject& root) {
  const ControlIndex index(root);
  size_t r = 0;
  for (const LinkStateRow& row : LinkStateTable()) {
    Row& resolved = rows_[r++];
    for (std::string_view pattern : row.names) {
      for (const std::string& name : ExpandControlName(pattern)) {
        QObject* control = index.Find(QString::fromStdString(name));
        if (!control) continue;
        missing_.removeAll(QString::fromStdString(name));
        resolved.controls.emplace_back(control);
        if (applied_) SetEnabled(control, ConditionHolds(row.condition, *applied_));
      }
    }
  }
}

void LinkStateView::Apply(const LinkFacts& facts) {
  if (applied_ == facts) return;
  applied_ = facts;
  for (const Row& row : rows_) {
    const bool enabled = ConditionHolds(row.condition, facts);
    for (const QPointer<QObject>& control : row.controls) SetEnabled(control, enabled);
  }
}

}  // namespace vmx
