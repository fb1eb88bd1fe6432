#include "app/history_menu.h"

#include <QAction>
#include <QDateTime>
#include <QLocale>
#include <algorithm>
#include <QTimer>

#include "app/compare_dialog.h"
#include "app/settings_menu.h"
#include "lang/catalogue.h"
#include "persist/history_triggers.h"
#include "persist/settings_file.h"
#include "settings/settings_diff.h"
#include "ui/dialogs.h"
#include "ui/names.h"
#include "ui/page_context.h"
#include "ui/quiet.h"

namespace vmx {
namespace {

constexpr int kPollMs = 50;
constexpr qint64 kRestoreTimeoutMs = 60000;

const char* ReasonKey(SnapshotReason reason) {
  switch (reason) {
    case SnapshotReason::Backup:
      return "ReasonBackup";
    case SnapshotReason::Export:
      return "ReasonExport";
    case SnapshotReason::BeforeImport:
      return "ReasonBeforeImport";
    case SnapshotReason::BeforeRestore:
      return "ReasonBeforeRestore";
    case SnapshotReason::BeforeReef:
      return "ReasonBeforeReef";
    case SnapshotReason::BeforeUndo:
      break;
  }
  return "ReasonBeforeUndo";
}

std::string SnapshotItem(const SnapshotEntry& e) {
  // The keeper's own clock and date format; files and logs keep UTC.
  const std::string when =
      QLocale().toString(QDateTime::fromSecsSinceEpoch(e.taken), QLocale::ShortFormat)
          .toStdString();
  if (e.damaged) return LangFormat("SnapshotDamagedItem", {when, e.problem});
  return LangFormat("SnapshotItem", {std::to_string(e.index), when, LangText(ReasonKey(e.reason))});
}

}  // namespace

HistoryMenu::HistoryMenu(PageContext& context, std::function<bool()> complete, QObject* parent)
    : QObject(parent), context_(context), complete_(std::move(complete)), poll_(new QTimer(this)) {
  poll_->setInterval(kPollMs);
  connect(poll_, &QTimer::timeout, this, &HistoryMenu::PollRestore);
  const std::pair<const char*, void (HistoryMenu::*)()> items[] = {
      {names::mnuCompare, &HistoryMenu::mnuCompareClick},
      {names::mnuUndoImport, &HistoryMenu::mnuUndoImportClick},
  };
  for (const auto& [name, handler] : items)
    if (auto* action = qobject_cast<QAction*>(context_.Control(name)))
      connect(action, &QAction::triggered, this, handler);
}

CompareDialog* HistoryMenu::Dialog() const {
  return dialog_;
}

std::optional<SettingsHistory> HistoryMenu::History() const {
  return BoundHistory(context_.Store());
}

void HistoryMenu::RecordShown(RecordKind record) {
  if (check_) {
    check_->Shown(record);
    PollRestore();
  }
  // The last record of a full read: the board's history may matter now.
  if (record == RecordKind::ExpertWeather) RefreshUndo();
}

void HistoryMenu::LinkState(bool connected) {
  if (!connected && check_) EndRestore("RestoreFailed", LangText("ImportLinkLost"));
  if (!connected && dialog_) dialog_->close();
}

void HistoryMenu::RefreshUndo() {
  const std::optional<SettingsHistory> history = History();
  const bool available = history && UndoTarget(history->List()).has_value();
  if (available == undoAvailable_) return;
  undoAvailable_ = available;
  context_.UpdateEnabling();
}

bool HistoryMenu::Ready() {
  if (context_.Connected() && complete_()) return true;
  context_.AddLogLine(LangText("RecordsIncomplete"));
  return false;
}

void HistoryMenu::mnuCompareClick() {
  if (!Ready()) return;
  if (!dialog_) {
    dialog_ = new CompareDialog(context_.ActivePage() ? context_.ActivePage()->window() : nullptr);
    dialog_->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog_, &CompareDialog::snapshotChosen, this, &HistoryMenu::ChooseSnapshot);
    connect(dialog_, &CompareDialog::fileWanted, this, &HistoryMenu::ChooseFile);
    connect(dialog_, &CompareDialog::restoreWanted, this, &HistoryMenu::RestoreSelected);
  }
  snapshots_.clear();
  if (const std::optional<SettingsHistory> history = History()) snapshots_ = history->List();
  std::reverse(snapshots_.begin(), snapshots_.end());
  file_.clear();
  ListSources();
  ChooseSnapshot(0);
  dialog_->show();
  dialog_->raise();
}

void HistoryMenu::ListSources() {
  // A chosen file stands first, above the snapshots.
  std::vector<std::string> items;
  if (!file_.empty()) items.push_back(file_);
  for (const SnapshotEntry& e : snapshots_) items.push_back(SnapshotItem(e));
  dialog_->SetSources(items, 0);
}

void HistoryMenu::ChooseSnapshot(int index) {
  source_.reset();
  if (!file_.empty() && index-- == 0) {
    SettingsText file = LoadSettingsFile(file_);
    if (!file.doc) context_.AddLogLine(file.error);
    source_ = std::move(file.doc);
    ShowSource();
    return;
  }
  const std::optional<SettingsHistory> history = History();
  if (history && index >= 0 && static_cast<size_t>(index) < snapshots_.size()) {
    LoadedSnapshot loaded = history->Load(snapshots_[static_cast<size_t>(index)]);
    // A damaged snapshot is told of and shows nothing to restore.
    if (!loaded.doc) context_.AddLogLine(loaded.error);
    source_ = std::move(loaded.doc);
  }
  ShowSource();
}

void HistoryMenu::ChooseFile() {
  const QString path = context_.Ask().OpenFileName(SettingsFileRequest(context_, "CompareTitle"));
  if (path.isEmpty()) return;
  SettingsText file = LoadSettingsFile(path.toStdString());
  if (!file.doc) {
    context_.AddLogLine(file.error);
    return;
  }
  source_ = std::move(file.doc);
  file_ = path.toStdString();
  if (dialog_) ListSources();
  ShowSource();
}

void HistoryMenu::ShowSource() {
  if (!dialog_) return;
  const SettingsRecords board = TakeSettings(context_.Store());
  DiffOptions options;
  options.rowCount = board.schedule.size();
  options.separator = DecimalSeparator();
  const SettingsValues other = source_ ? ValuesOfFile(*source_) : ValuesOfRecords(board);
  dialog_->ShowDifferences(DiffSettings(ValuesOfRecords(board), other, options));
}

void HistoryMenu::RestoreSelected() {
  if (!dialog_ || !source_ || !Ready()) return;
  RestoreSelection selection;
  selection.everything = false;
  selection.keys = dialog_->Selected();
  if (selection.keys.empty()) return;
  Restore(*source_, selection, SnapshotReason::BeforeRestore);
}

void HistoryMenu::mnuUndoImportClick() {
  if (!Ready()) return;
  const std::optional<SettingsHistory> history = History();
  const std::optional<SnapshotEntry> target =
      history ? UndoTarget(history->List()) : std::nullopt;
  if (!target) {
    context_.AddLogLine(LangText("UndoNothing"));
    return;
  }
  const LoadedSnapshot loaded = history->Load(*target);
  if (!loaded.doc) {
    context_.AddLogLine(loaded.error);
    return;
  }
  Restore(*loaded.doc, RestoreSelection{}, SnapshotReason::BeforeUndo);
}

void HistoryMenu::Restore(const IniDocument& source, const RestoreSelection& selection,
                          SnapshotReason reason) {
  const RestoreOutcome outcome = RestoreSettings(context_.Store(), source, selection, reason);
  RefreshUndo();
  if (!outcome.error.empty()) {
    context_.AddLogLine(outcome.error);
    return;
  }
  if (outcome.bits == 0) {
    context_.AddLogLine(LangText("RestoreNothing"));
    return;
  }
  context_.AddLogLine(
      LangFormat("RestoreSending", {std::to_string(outcome.plan.assignments.size())}));
  for (RecordKind record : {RecordKind::Config, RecordKind::Expert, RecordKind::ExpertWeather,
                            RecordKind::Schedule})
    context_.ApplyRecord(record);
  ShowSource();
  check_.emplace(outcome.bits, outcome.sent);
  started_.start();
  poll_->start();
}

void HistoryMenu::PollRestore() {
  if (!check_) return;
  switch (check_->Poll(context_.Store())) {
    case RestoreCheck::State::Agreed:
      EndRestore("RestoreDone");
      return;
    case RestoreCheck::State::Differs:
      EndRestore("RestoreFailed", check_->Problem());
      return;
    default:
      break;
  }
  if (started_.elapsed() > kRestoreTimeoutMs) EndRestore("RestoreFailed");
}

void HistoryMenu::EndRestore(const char* messageKey, const std::string& detail) {
  check_.reset();
  poll_->stop();
  context_.AddLogLine(detail.empty() ? LangText(messageKey) : LangText(messageKey) + " " + detail);
  ShowSource();
}

}  // namespace vmx
