// The comparison of the board's settings with a file or a snapshot: one line
// per difference with a check box, a check box per section that ticks its
// lines, and "Restore selected". It only shows and collects; the history
// menu loads what is chosen, computes the differences and restores.
#pragma once

#include <QDialog>
#include <string>
#include <utility>
#include <vector>

#include "settings/settings_diff.h"

class QComboBox;
class QLabel;
class QPushButton;
class QTreeWidget;

namespace vmx {

class CompareDialog final : public QDialog {
  Q_OBJECT

 public:
  explicit CompareDialog(QWidget* parent);

  // The snapshots to choose from, newest first, and which one is chosen.
  void SetSources(const std::vector<std::string>& items, int chosen);
  // Shows the differences; every line starts unticked.
  void ShowDifferences(const SettingsDiff& diff);
  // The ticked lines: section and key.
  std::vector<std::pair<std::string, std::string>> Selected() const;

 signals:
  void snapshotChosen(int index);  // index into the items given
  void fileWanted();
  void restoreWanted();

 private:
  void UpdateRestoreButton();

  QComboBox* sources_;
  QTreeWidget* lines_;
  QLabel* count_;
  QPushButton* restore_;
};

}  // namespace vmx
