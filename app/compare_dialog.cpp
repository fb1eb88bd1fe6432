#include "app/compare_dialog.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "lang/catalogue.h"

namespace vmx {
namespace {

QString T(const char* key) {
  return QString::fromStdString(LangText(key));
}

QString Q(const std::string& text) {
  return QString::fromStdString(text);
}

constexpr int kSectionRole = Qt::UserRole;
constexpr int kKeyRole = Qt::UserRole + 1;

// The group a difference is shown under: its section, or its schedule line.
QString GroupOf(const SettingsDifference& d) {
  const bool line = !d.section.empty() && d.section.find_first_not_of("0123456789") == std::string::npos;
  return line ? Q(LangFormat("ScheduleLine", {d.section})) : Q("[" + d.section + "]");
}

void AddLine(QTreeWidgetItem* group, const SettingsDifference& d, bool checkable) {
  auto* item = new QTreeWidgetItem(group, {Q(d.caption), Q(d.section + "." + d.key), Q(d.aShown),
                                           Q(d.bShown)});
  item->setToolTip(0, Q(d.caption));
  item->setData(0, kSectionRole, Q(d.section));
  item->setData(0, kKeyRole, Q(d.key));
  if (checkable) item->setCheckState(0, Qt::Unchecked);
}

}  // namespace

CompareDialog::CompareDialog(QWidget* parent) : QDialog(parent) {
  setObjectName("dlgCompare");
  setWindowTitle(T("CompareTitle"));
  auto* layout = new QVBoxLayout(this);
  auto* top = new QHBoxLayout;
  top->addWidget(new QLabel(T("CompareWith"), this));
  sources_ = new QComboBox(this);
  sources_->setObjectName("cmbCompareSource");
  top->addWidget(sources_, 1);
  auto* file = new QPushButton(T("CompareFile"), this);
  file->setObjectName("btnCompareFile");
  top->addWidget(file);
  layout->addLayout(top);

  lines_ = new QTreeWidget(this);
  lines_->setObjectName("tvwDifferences");
  lines_->setHeaderLabels(
      {T("CompareSetting"), T("CompareKey"), T("CompareBoard"), T("CompareOther")});
  // The values stay in sight; a long caption gives way and shows whole as a tip.
  lines_->header()->setStretchLastSection(false);
  lines_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  lines_->header()->setSectionResizeMode(0, QHeaderView::Stretch);
  layout->addWidget(lines_, 1);

  auto* bottom = new QHBoxLayout;
  count_ = new QLabel(this);
  count_->setObjectName("lblCompareCount");
  bottom->addWidget(count_, 1);
  restore_ = new QPushButton(T("CompareRestore"), this);
  restore_->setObjectName("btnRestoreSelected");
  bottom->addWidget(restore_);
  auto* close = new QPushButton(T("CompareClose"), this);
  close->setObjectName("btnCompareClose");
  bottom->addWidget(close);
  layout->addLayout(bottom);
  resize(760, 520);

  connect(sources_, &QComboBox::activated, this, &CompareDialog::snapshotChosen);
  connect(file, &QPushButton::clicked, this, &CompareDialog::fileWanted);
  connect(restore_, &QPushButton::clicked, this, &CompareDialog::restoreWanted);
  connect(close, &QPushButton::clicked, this, &QDialog::close);
  connect(lines_, &QTreeWidget::itemChanged, this, [this] { UpdateRestoreButton(); });
  UpdateRestoreButton();
}

void CompareDialog::SetSources(const std::vector<std::string>& items, int chosen) {
  sources_->setToolTip(chosen >= 0 && static_cast<size_t>(chosen) < items.size()
                           ? Q(items[static_cast<size_t>(chosen)])
                           : QString());
  const QSignalBlocker quiet(sources_);
  sources_->clear();
  for (const std::string& item : items) sources_->addItem(Q(item));
  sources_->setCurrentIndex(chosen);
}

void CompareDialog::ShowDifferences(const SettingsDiff& diff) {
  const QSignalBlocker quiet(lines_);
  lines_->clear();
  QTreeWidgetItem* group = nullptr;
  QString groupName;
  for (const SettingsDifference& d : diff.differences) {
    if (!group || GroupOf(d) != groupName) {
      groupName = GroupOf(d);
      group = new QTreeWidgetItem(lines_, {groupName});
      // Ticking a section ticks its lines; a partly ticked one shows so.
      group->setFlags(group->flags() | Qt::ItemIsUserCheckable | Qt::ItemIsAutoTristate);
      group->setCheckState(0, Qt::Unchecked);
    }
    AddLine(group, d, true);
  }
  if (!diff.beyondRows.empty()) {
    auto* beyond = new QTreeWidgetItem(lines_, {T("CompareBeyondRows")});
    for (const SettingsDifference& d : diff.beyondRows) AddLine(beyond, d, false);
  }
  lines_->expandAll();
  count_->setText(diff.Equal() ? T("CompareEqual")
                               : Q(LangFormat("CompareCount", {std::to_string(
                                                                  diff.differences.size())})));
  UpdateRestoreButton();
}

std::vector<std::pair<std::string, std::string>> CompareDialog::Selected() const {
  std::vector<std::pair<std::string, std::string>> keys;
  for (int g = 0; g < lines_->topLevelItemCount(); ++g) {
    const QTreeWidgetItem* group = lines_->topLevelItem(g);
    for (int i = 0; i < group->childCount(); ++i) {
      const QTreeWidgetItem* item = group->child(i);
      if (item->data(0, Qt::CheckStateRole).isValid() && item->checkState(0) == Qt::Checked)
        keys.emplace_back(item->data(0, kSectionRole).toString().toStdString(),
                          item->data(0, kKeyRole).toString().toStdString());
    }
  }
  return keys;
}

void CompareDialog::UpdateRestoreButton() {
  restore_->setEnabled(!Selected().empty());
}

}  // namespace vmx
