// Applies the link-state table to the window's controls. The names are
// resolved once; names without a control are skipped (and listed).
#pragma once

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <optional>
#include <vector>

#include "app/link_state_table.h"

class QWidget;

namespace vmx {

class LinkStateView {
 public:
  explicit LinkStateView(QWidget& form);

  void Apply(const LinkFacts& facts);
  // Takes on the table's controls under `root`, a page built after the
  // window, and gives them the enabling of the facts last applied.
  void Adopt(QObject& root);
  // Table names that have no control in the window.
  const QStringList& Missing() const { return missing_; }

 private:
  struct Row {
    LinkCondition condition;
    std::vector<QPointer<QObject>> controls;
  };
  std::vector<Row> rows_;
  QStringList missing_;
  // The table is applied after every record read; the same facts give the
  // same enabling, and nothing else enables the table's controls.
  std::optional<LinkFacts> applied_;
};

}  // namespace vmx
