#include "editor/schedule_grid.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include "settings/schedule_grid.h"
#include "ui/names.h"

namespace vmx {
namespace {

constexpr int kLineHeight = 18;
constexpr int kLineColumnWidth = 30;
constexpr int kDefaultWidth = 49;
constexpr int kSwitchWidth = 50;
constexpr int kTextInset = 2;

// Right presses on the heading line; the heading is a widget of its own.
class HeadingPresses final : public QObject {
 public:
  HeadingPresses(ScheduleGrid* grid) : QObject(grid), grid_(grid) {}

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::MouseButtonPress) return QObject::eventFilter(watched, event);
    auto* press = static_cast<QMouseEvent*>(event);
    if (press->button() != Qt::RightButton) return false;
    QHeaderView* heading = grid_->horizontalHeader();
    const int column = heading->logicalIndexAt(press->position().toPoint());
    if (column < 0) return false;
    emit grid_->rightPressed(0, column, press->globalPosition().toPoint());
    return true;
  }

 private:
  ScheduleGrid* grid_;
};

}  // namespace

ScheduleGrid::ScheduleGrid(QWidget* parent) : QTableWidget(parent) {
  setObjectName(names::sgSchedule);
  setColumnCount(grid::kColumns);
  setRowCount(1);
  verticalHeader()->hide();
  verticalHeader()->setMinimumSectionSize(1);
  verticalHeader()->setDefaultSectionSize(kLineHeight);
  QHeaderView* heading = horizontalHeader();
  heading->setSectionsClickable(false);  // the heading line is fixed, not a column selector
  heading->setSectionResizeMode(QHeaderView::Interactive);
  heading->setDefaultSectionSize(kDefaultWidth);
  heading->viewport()->installEventFilter(new HeadingPresses(this));
  setColumnWidth(grid::kLine, kLineColumnWidth);
  for (int c = grid::kDisplay; c <= grid::kTimer; ++c) setColumnWidth(c, kSwitchWidth);
  setItemDelegate(new ScheduleDelegate(this));
  // The editor opens wherever the current cell goes, as in a spreadsheet.
  setEditTriggers(QAbstractItemView::AllEditTriggers);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setSelectionBehavior(QAbstractItemView::SelectItems);
  setTabKeyNavigation(true);
}

QRect ScheduleGrid::CellRect(int line, int column) const {
  if (line == 0)
    return QRect(horizontalHeader()->sectionViewportPosition(column), 0, columnWidth(column),
                 horizontalHeader()->height());
  return visualRect(model()->index(line - 1, column));
}

void ScheduleGrid::mousePressEvent(QMouseEvent* event) {
  const QModelIndex index = indexAt(event->position().toPoint());
  if (!index.isValid()) {
    QTableWidget::mousePressEvent(event);
    return;
  }
  const int line = index.row() + 1;
  const int column = index.column();
  if (event->button() == Qt::RightButton) {
    emit rightPressed(line, column, event->globalPosition().toPoint());
    return;
  }
  if (event->button() == Qt::LeftButton && column == grid::kLine) {
    dragRow_ = dropRow_ = index.row();
    viewport()->setCursor(Qt::ClosedHandCursor);
    return;
  }
  if (event->button() == Qt::LeftButton && grid::IsSwitchColumn(column)) {
    emit switchClicked(line, column);
    return;
  }
  QTableWidget::mousePressEvent(event);
}

void ScheduleGrid::mouseMoveEvent(QMouseEvent* event) {
  if (dragRow_ < 0) {
    QTableWidget::mouseMoveEvent(event);
    return;
  }
  ScrollWhileDragging(event->position().toPoint());
  dropRow_ = DropRow(event->position().toPoint());
  viewport()->update();
}

void ScheduleGrid::mouseReleaseEvent(QMouseEvent* event) {
  if (dragRow_ < 0) {
    QTableWidget::mouseReleaseEvent(event);
    return;
  }
  const int from = dragRow_;
  const int to = DropRow(event->position().toPoint());
  dragRow_ = dropRow_ = -1;
  viewport()->unsetCursor();
  viewport()->update();
  if (to >= 0 && to != from) emit lineMoved(from + 1, to + 1);
}

int ScheduleGrid::DropRow(const QPoint& pos) const {
  const int row = rowAt(pos.y());
  if (row >= 0) return row;
  if (rowCount() == 0) return -1;
  return pos.y() < 0 ? rowAt(0) : rowCount() - 1;
}

void ScheduleGrid::ScrollWhileDragging(const QPoint& pos) {
  QScrollBar* bar = verticalScrollBar();
  if (pos.y() < kLineHeight)
    bar->setValue(bar->value() - 1);
  else if (pos.y() > viewport()->height() - kLineHeight)
    bar->setValue(bar->value() + 1);
}

void ScheduleGrid::paintEvent(QPaintEvent* event) {
  QTableWidget::paintEvent(event);
  if (dragRow_ < 0 || dropRow_ < 0 || dropRow_ == dragRow_) return;
  // Where the line will land: above the target when moving up, below it when moving down.
  const QRect target = visualRect(model()->index(dropRow_, 0));
  const int y = dropRow_ < dragRow_ ? target.top() : target.bottom();
  QPainter painter(viewport());
  painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
  painter.drawLine(0, y, viewport()->width(), y);
}

ScheduleDelegate::ScheduleDelegate(ScheduleGrid* grid) : QStyledItemDelegate(grid), grid_(grid) {}

QWidget* ScheduleDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                        const QModelIndex& index) const {
  auto* editor = new QLineEdit(parent);
  editor->setFrame(false);
  const QPersistentModelIndex cell(index);
  ScheduleGrid* grid = grid_;
  connect(editor, &QLineEdit::textEdited, grid, [grid, cell](const QString& text) {
    if (cell.isValid()) emit grid->cellTyped(cell.row() + 1, cell.column(), text);
  });
  return editor;
}

void ScheduleDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
  // Each keystroke is written to the cell at once; putting it back into the
  // editor would move the cursor under the user's hands.
  auto* edit = qobject_cast<QLineEdit*>(editor);
  if (edit && edit->text() == index.data(Qt::EditRole).toString()) return;
  QStyledItemDelegate::setEditorData(editor, index);
}

void ScheduleDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
  const bool own = option.state & (QStyle::State_Selected | QStyle::State_HasFocus);
  if (own || index.column() == grid::kTime || !grid_->background) {
    QStyledItemDelegate::paint(painter, option, index);
    return;
  }
  try {
    const QString text = index.data(Qt::DisplayRole).toString();
    const QColor fill = grid_->background(index.row(), index.column(), text);
    painter->fillRect(option.rect, fill);
    const bool highlighted = fill == option.palette.color(QPalette::Highlight);
    painter->setPen(option.palette.color(highlighted ? QPalette::HighlightedText : QPalette::Text));
    painter->drawText(option.rect.adjusted(kTextInset, kTextInset, 0, 0),
                      Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
  } catch (...) {
    // A cell that cannot be drawn stays as it was.
  }
}

}  // namespace vmx
