#include "editor/schedule_page.h"

#include <QAction>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMenu>
#include <QPlainTextEdit>

#include "editor/schedule_grid.h"
#include "lang/catalogue.h"
#include "lang/channel_text.h"
#include "ui/names.h"
#include "ui/quiet.h"
#include "ui/text.h"

namespace vmx {
namespace {

constexpr int kDescriptionWidth = 230;
constexpr int kExactAltRole = Qt::UserRole;          // the row's Alt behind an altitude cell
constexpr int kAltitudeTextRole = Qt::UserRole + 1;  // the text that Alt was shown as

Qt::ItemFlags FlagsOf(int column) {
  // The line numbers and the switches are clicked, never selected or edited.
  if (column == grid::kLine || grid::IsSwitchColumn(column)) return Qt::ItemIsEnabled;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

}  // namespace

SchedulePage::SchedulePage(PageContext& context)
    : Page(context, names::tsSchedule), sgSchedule_(new ScheduleGrid(this)), pumCol_(new QMenu(this)) {
  Subscribe({RecordKind::Schedule, RecordKind::Config, RecordKind::Info});
  auto* description = new QPlainTextEdit(this);
  description->setObjectName(names::memDescription);
  description->setReadOnly(true);
  description->setFixedWidth(kDescriptionWidth);
  auto* layout = new QHBoxLayout(this);
  layout->addWidget(sgSchedule_, 1);
  layout->addWidget(description);

  pumCol_->setObjectName(names::pumCol);
  const std::pair<const char*, void (SchedulePage::*)()> items[] = {
      {names::mnuCopyCol, &SchedulePage::mnuCopyColClick},
      {names::mnuPasteCol, &SchedulePage::mnuPasteColClick},
      {names::mnuSwapCol, &SchedulePage::mnuSwapColClick}};
  for (const auto& [name, handler] : items) {
    QAction* item = pumCol_->addAction(QString());
    item->setObjectName(name);
    connect(item, &QAction::triggered, this, handler);
  }
  connect(pumCol_, &QMenu::aboutToShow, this, &SchedulePage::pumColPopup);
  pumColPopup();

  sgSchedule_->background = [this](int row, int column, const QString& text) {
    return CellBackground(row, column, text);
  };
  connect(sgSchedule_, &ScheduleGrid::cellTyped, this, &SchedulePage::sgScheduleSetEditText);
  connect(sgSchedule_, &ScheduleGrid::switchClicked, this, &SchedulePage::sgScheduleSwitchClick);
  connect(sgSchedule_, &ScheduleGrid::rightPressed, this, &SchedulePage::sgScheduleRightPress);
  connect(sgSchedule_, &ScheduleGrid::lineMoved, this, &SchedulePage::sgScheduleRowMoved);
  // A new cell is a new editing session: nothing typed there yet.
  connect(sgSchedule_, &QTableWidget::currentCellChanged, this,
          [this] { typedCell_ = QPersistentModelIndex(); });
  FillLines();
}

GridWords SchedulePage::Words() const {
  return {LangText("ON"), LangText("OFF"), DecimalSeparator()};
}

bool SchedulePage::DownloadPending() {
  // A half-downloaded table is never shown: the download's end fills the grid.
  return Context().Store().Pending(request::ReadSchedule);
}

void SchedulePage::FillScheduleGrid() {
  // Every page that shows the schedule takes it, this one first among them.
  Context().ApplyRecord(RecordKind::Schedule);
}

void SchedulePage::ModeChanged() {
  if (!DownloadPending()) FillScheduleGrid();
}

void SchedulePage::Activated() {
  if (!DownloadPending()) FillScheduleGrid();
}

void SchedulePage::Apply(RecordKind record) {
  SharedStore& store = Context().Store();
  if (record == RecordKind::Schedule) {
    FillLines();
  } else if (record == RecordKind::Config) {
    // A mode changed on the board or by an import changes the first column's meaning.
    if (store.config.Mode != filledMode_ && !DownloadPending()) FillScheduleGrid();
  } else if (record == RecordKind::Info && store.info.ActiveRow != activeRow_) {
    activeRow_ = store.info.ActiveRow;
    sgSchedule_->viewport()->update();
  }
}

void SchedulePage::FillLines() {
  const SharedStore& store = Context().Store();
  const bool altitude = ShowsAltitude(store.config.Mode);
  // Text typed as a time is no altitude: a cell being typed in is given up
  // when the first column changes its meaning.
  if (altitude != ShowsAltitude(filledMode_) && sgSchedule_->Editing())
    sgSchedule_->setCurrentIndex(QModelIndex());
  filledMode_ = store.config.Mode;
  sgSchedule_->setHorizontalHeaderItem(
      grid::kTime, new QTableWidgetItem(Q(LangText(altitude ? "Altitude" : "Time"))));
  const int rows = static_cast<int>(store.schedule.size());
  // A board without rows still shows one empty line.
  sgSchedule_->setRowCount(std::max(1, rows));
  activeRow_ = store.info.ActiveRow;
  const GridWords words = Words();
  for (int r = 0; r < sgSchedule_->rowCount(); ++r) {
    PutLine(r,
            r < rows ? FormatGridLine(store.schedule[static_cast<size_t>(r)], r, altitude, words)
                     : GridLine{},
            true);
  }
  sgSchedule_->viewport()->update();
}

void SchedulePage::PutLine(int row, const GridLine& line, bool fromRecord) {
  const QModelIndex editing = sgSchedule_->Editing() ? sgSchedule_->currentIndex() : QModelIndex();
  for (int c = 0; c < grid::kColumns; ++c) {
    QTableWidgetItem* item = sgSchedule_->item(row, c);
    if (!item) {
      item = new QTableWidgetItem;
      item->setFlags(FlagsOf(c));
      sgSchedule_->setItem(row, c, item);
    }
    // The cell the user is typing in keeps the user's text, as a focused
    // control does when a record is shown.
    const bool typing = fromRecord && editing.isValid() && editing == typedCell_ &&
                        editing.row() == row && editing.column() == c;
    if (typing) continue;
    item->setText(Q(line.cells[static_cast<size_t>(c)]));
    if (c == grid::kTime) {
      item->setData(kExactAltRole, line.exactAlt ? QVariant(int(*line.exactAlt)) : QVariant());
      item->setData(kAltitudeTextRole, Q(line.altitudeText));
    }
  }
}

GridLine SchedulePage::LineAt(int row) const {
  GridLine line;
  for (int c = 0; c < grid::kColumns; ++c)
    if (const QTableWidgetItem* item = sgSchedule_->item(row, c))
      line.cells[static_cast<size_t>(c)] = item->text().toStdString();
  if (const QTableWidgetItem* time = sgSchedule_->item(row, grid::kTime)) {
    const QVariant alt = time->data(kExactAltRole);
    if (alt.isValid()) line.exactAlt = static_cast<int16_t>(alt.toInt());
    line.altitudeText = time->data(kAltitudeTextRole).toString().toStdString();
  }
  return line;
}

void SchedulePage::LanguageApplied() {
  const auto heading = [this](int column, const char* key) {
    sgSchedule_->setHorizontalHeaderItem(column, new QTableWidgetItem(Q(LangText(key))));
  };
  heading(grid::kLine, "Line");
  heading(grid::kTime, ShowsAltitude(filledMode_) ? "Altitude" : "Time");
  heading(grid::kDisplay, "Display");
  heading(grid::kClouds, "Clouds");
  heading(grid::kStorms, "Storms");
  heading(grid::kTimer, "Timer");
  ChannelColorsChanged();
  FillLines();  // the ON/OFF words
}

void SchedulePage::ChannelColorsChanged() {
  const Config& config = Context().Store().config;
  for (int i = 0; i < kChannelCount; ++i) {
    sgSchedule_->setHorizontalHeaderItem(
        grid::kFirstChannel + i,
        new QTableWidgetItem(Q(ChannelCaption(i, config.ColorName[static_cast<size_t>(i)]))));
  }
  sgSchedule_->viewport()->update();
}

QColor SchedulePage::CellBackground(int row, int column, const QString& text) const {
  const QPalette& palette = sgSchedule_->palette();
  if (column == grid::kLine)
    return palette.color(row == activeRow_ ? QPalette::Highlight : QPalette::Button);
  if (grid::IsChannelColumn(column)) {
    const int channel = column - grid::kFirstChannel;
    return QColor::fromRgba(
        ChannelColor(Context().Store().config.ColorName[static_cast<size_t>(channel)]));
  }
  return palette.color(text == Q(LangText("OFF")) ? QPalette::Button : QPalette::Base);
}

void SchedulePage::CommitScheduleRow(int row) {
  vmx::CommitScheduleRow(Context().Store(), row, LineAt(row), ShowsAltitude(filledMode_), Words());
}

void SchedulePage::sgScheduleSetEditText(int line, int column, const QString& text) {
  const int row = line - 1;
  QTableWidgetItem* item = sgSchedule_->item(row, column);
  if (!item) return;
  typedCell_ = sgSchedule_->model()->index(row, column);
  item->setText(text);
  if (!text.isEmpty()) CommitScheduleRow(row);
}

void SchedulePage::sgScheduleSwitchClick(int line, int column) {
  const int row = line - 1;
  QTableWidgetItem* item = sgSchedule_->item(row, column);
  if (!item) return;
  item->setText(Q(ToggledSwitch(item->text().toStdString(), Words())));
  CommitScheduleRow(row);
}

void SchedulePage::sgScheduleRightPress(int line, int column, const QPoint& globalPos) {
  clickedColumn_ = column - grid::kFirstChannel;
  if (line == 0 && grid::IsChannelColumn(column)) {
    pumCol_->popup(globalPos);
  } else if (line > 0 && column == grid::kLine) {
    PreviewGridLine(Context().Store(), LineAt(line - 1), Words());
  }
}

void SchedulePage::sgScheduleRowMoved(int fromLine, int toLine) {
  // An open editor would write its text into whatever line lands under it.
  if (sgSchedule_->Editing()) sgSchedule_->setCurrentIndex(QModelIndex());
  std::vector<GridLine> lines;
  for (int r = 0; r < sgSchedule_->rowCount(); ++r) lines.push_back(LineAt(r));
  const auto moved = MoveGridLine(lines, fromLine - 1, toLine - 1);
  if (!moved) return;
  for (int r = moved->first; r <= moved->second; ++r) {
    PutLine(r, lines[static_cast<size_t>(r)], false);
    CommitScheduleRow(r);
  }
}

void SchedulePage::pumColPopup() {
  const bool copied = copiedColumn_ != -1;
  for (const char* name : {names::mnuPasteCol, names::mnuSwapCol})
    if (auto* item = pumCol_->findChild<QAction*>(name)) item->setEnabled(copied);
}

void SchedulePage::mnuCopyColClick() {
  copiedColumn_ = clickedColumn_;
}

void SchedulePage::mnuPasteColClick() {
  if (!PasteChannelColumn(Context().Store(), copiedColumn_, clickedColumn_)) return;
  Context().UpdateChannelColors();
  FillScheduleGrid();
}

void SchedulePage::mnuSwapColClick() {
  // The cells take their tints from the records at once; the headings keep
  // their captions until the board's Config record is shown again.
  if (!SwapChannelColumns(Context().Store(), copiedColumn_, clickedColumn_)) return;
  FillScheduleGrid();
}

}  // namespace vmx
