// The File menu's settings history: "Compare with file or snapshot…" opens
// the comparison of the board with a snapshot or a file, whose chosen lines
// go back to the board; "Undo last import" brings back the snapshot taken
// before the last import, restore or reef-defaults load. A restore is
// reported done only once the board's read-back agrees.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <functional>
#include <optional>
#include <vector>

#include "link/link_host.h"
#include "persist/ini_document.h"
#include "persist/read_back.h"
#include "persist/selective_restore.h"
#include "persist/settings_history.h"

class QTimer;

namespace vmx {

class CompareDialog;
class PageContext;

class HistoryMenu final : public QObject {
  Q_OBJECT

 public:
  // `complete`: whether every record of the board has been read.
  HistoryMenu(PageContext& context, std::function<bool()> complete, QObject* parent);

  void RecordShown(RecordKind record);
  void LinkState(bool connected);
  // Whether the board's history holds something to undo; looked up anew by RefreshUndo.
  bool UndoAvailable() const { return undoAvailable_; }
  void RefreshUndo();

  void mnuCompareClick();
  void mnuUndoImportClick();

  CompareDialog* Dialog() const;

 private:
  std::optional<SettingsHistory> History() const;
  bool Ready();
  void ShowSource();
  void ListSources();
  void ChooseSnapshot(int index);
  void ChooseFile();
  void RestoreSelected();
  void Restore(const IniDocument& source, const RestoreSelection& selection,
               SnapshotReason reason);
  void PollRestore();
  void EndRestore(const char* messageKey, const std::string& detail = {});

  PageContext& context_;
  std::function<bool()> complete_;
  QPointer<CompareDialog> dialog_;
  std::vector<SnapshotEntry> snapshots_;  // newest first, as the dialog lists them
  std::optional<IniDocument> source_;     // what the board is compared with
  std::string file_;                      // the settings file chosen, if any
  std::optional<RestoreCheck> check_;
  QTimer* poll_;
  QElapsedTimer started_;
  bool undoAvailable_ = false;
};

}  // namespace vmx
