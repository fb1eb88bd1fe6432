// The Schedule page: the daily schedule as the grid sgSchedule, one line per
// schedule row, with its column pop-up menu pumCol and the description beside it.
// Every change the user makes is read back into its row, which is marked for
// sending; the grid is filled from the rows only by FillScheduleGrid.
#pragma once

#include <QPersistentModelIndex>

#include "settings/schedule_grid.h"
#include "ui/page.h"

class QMenu;

namespace vmx {

class ScheduleGrid;

class SchedulePage final : public Page {
  Q_OBJECT

 public:
  explicit SchedulePage(PageContext& context);

  QMenu* pumCol() const { return pumCol_; }
  ScheduleGrid* Grid() const { return sgSchedule_; }
  // Channel index of the last right press (grid column - 2) and of "Copy", -1: none.
  int ClickedColumn() const { return clickedColumn_; }
  int CopiedColumn() const { return copiedColumn_; }

  // The schedule table into the grid, then to every page that shows the schedule.
  void FillScheduleGrid();
  // The mode was changed on the PC: the first column changes its meaning.
  void ModeChanged();

  void Apply(RecordKind record) override;
  void ChannelColorsChanged() override;
  void LanguageApplied() override;
  void Activated() override;

 private:
  void FillLines();
  void SetHeadings();
  GridWords Words() const;
  GridLine LineAt(int row) const;
  // `fromRecord`: the cell the user is typing in keeps its text.
  void PutLine(int row, const GridLine& line, bool fromRecord);
  bool DownloadPending();
  QColor CellBackground(int row, int column, const QString& text) const;

  void CommitScheduleRow(int row);
  void sgScheduleSetEditText(int line, int column, const QString& text);
  void sgScheduleSwitchClick(int line, int column);
  void sgScheduleRightPress(int line, int column, const QPoint& globalPos);
  void sgScheduleRowMoved(int fromLine, int toLine);
  void pumColPopup();
  void mnuCopyColClick();
  void mnuPasteColClick();
  void mnuSwapColClick();

  ScheduleGrid* sgSchedule_;
  QMenu* pumCol_;
  int filledMode_ = -1;  // the Mode the grid's first column was filled for
  int activeRow_ = -1;   // the row the board runs, highlighted in column 0
  int clickedColumn_ = -1;
  int copiedColumn_ = -1;
  QPersistentModelIndex typedCell_;  // typed into since it became the current cell
};

}  // namespace vmx
