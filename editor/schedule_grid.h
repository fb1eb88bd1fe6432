// The grid `sgSchedule`: a table whose first column and heading line are
// fixed, with the events the Schedule page handles. Line indices in the
// signals count the heading line as 0; columns are the grid's 0..17.
//
// - A left press on a cell of column 0 picks the line up; releasing it over
//   another line asks for the move (`lineMoved`); the page moves the cells.
// - A left press on a switch cell (14..16) is a click: those cells are never
//   selected and never edited.
// - The in-place editor reports every text the user types (`cellTyped`).
// - A right press anywhere, on the heading line too, gives `rightPressed`.
#pragma once

#include <QStyledItemDelegate>
#include <QTableWidget>
#include <functional>

namespace vmx {

class ScheduleGrid final : public QTableWidget {
  Q_OBJECT

 public:
  explicit ScheduleGrid(QWidget* parent);

  // Background of a cell the grid does not draw itself (not selected or
  // focused, not in column 1); `row` is a data row, 0 for grid line 1.
  std::function<QColor(int row, int column, const QString& text)> background;

  // Where the grid shows line `line`, column `column`, in viewport coordinates
  // (line 0 is the heading, which lies outside the viewport).
  QRect CellRect(int line, int column) const;
  // The in-place editor is open on the current cell.
  bool Editing() const { return state() == EditingState; }

 signals:
  void cellTyped(int line, int column, const QString& text);
  void switchClicked(int line, int column);
  void lineMoved(int fromLine, int toLine);
  void rightPressed(int line, int column, const QPoint& globalPos);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  void ScrollWhileDragging(const QPoint& pos);
  int DropRow(const QPoint& pos) const;

  int dragRow_ = -1;  // the row picked up by its column-0 cell
  int dropRow_ = -1;
};

// Draws cells with the page's backgrounds and hands every keystroke of the
// in-place editor to the grid.
class ScheduleDelegate final : public QStyledItemDelegate {
  Q_OBJECT

 public:
  explicit ScheduleDelegate(ScheduleGrid* grid);

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                        const QModelIndex& index) const override;
  void setEditorData(QWidget* editor, const QModelIndex& index) const override;
  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;

 private:
  ScheduleGrid* grid_;
};

}  // namespace vmx
