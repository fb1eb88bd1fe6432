#include "app/settings_menu.h"

#include <QAction>

#include "lang/catalogue.h"
#include "link/request_flags.h"
#include "app/history_menu.h"
#include "persist/auto_backup.h"
#include "persist/data_root.h"
#include "persist/history_triggers.h"
#include "persist/settings_file.h"
#include "ui/names.h"
#include "ui/page_context.h"

namespace vmx {
namespace {

constexpr const char* kProduct = "Velmarinex 2.x.4";

}  // namespace

SettingsMenu::SettingsMenu(PageContext& context, QObject* parent)
    : QObject(parent), context_(context) {
  const std::pair<const char*, void (SettingsMenu::*)()> items[] = {
      {names::mnuScheduleConfigExport, &SettingsMenu::mnuScheduleConfigExportClick},
      {names::mnuConfigImport, &SettingsMenu::mnuConfigImportClick},
      {names::mnuScheduleImport, &SettingsMenu::mnuScheduleImportClick},
  };
  for (const auto& [name, handler] : items)
    if (auto* action = qobject_cast<QAction*>(context_.Control(name)))
      connect(action, &QAction::triggered, this, handler);
  // Imports, exports, the backup and the reef defaults keep snapshots in the
  // history of the board on the current port.
  boundStore_ = &context_.Store();
  BindHistory(context_.Store(),
              {UserDataRoot(), "velmarinex", [this] { return context_.PortName(); },
               [this] { return RecordsComplete(); }, {},
               [this](const std::string& line) { context_.AddLogLine(line); }});
  history_ = new HistoryMenu(context_, [this] { return RecordsComplete(); }, this);
}

SettingsMenu::~SettingsMenu() {
  // The window and its store are gone by now: only the address is left.
  UnbindHistory(boundStore_);
}

void SettingsMenu::LinkState(bool connected) {
  records_.LinkState(connected);
  history_->LinkState(connected);
}

void SettingsMenu::RecordShown(RecordKind record) {
  records_.Shown(record, context_.Store());
  history_->RecordShown(record);
}

bool SettingsMenu::RecordsComplete() {
  return records_.Complete(context_.Store());
}

void SettingsMenu::Backup(const std::string& port) {
  WriteBackup(context_.AppDir().toStdString(), port, context_.Store(), records_,
              [this](const std::string& line) { context_.AddLogLine(line); });
}

Dialogs::FileRequest SettingsFileRequest(const PageContext& context, const char* titleKey) {
  Dialogs::FileRequest request;
  request.title = QString::fromStdString(LangText(titleKey));
  request.directory = context.AppDir();
  request.filter = QString::fromStdString(LangFormat("LantixConfig", {kProduct})) + " (*.ini)";
  request.defaultSuffix = "ini";
  return request;
}

Dialogs::FileRequest SettingsMenu::Request(const char* titleKey) const {
  return SettingsFileRequest(context_, titleKey);
}

std::optional<IniDocument> SettingsMenu::ChooseImport(const char* titleKey, std::string& path) {
  if (!RecordsComplete()) {
    context_.AddLogLine(LangText("RecordsIncomplete"));
    return std::nullopt;
  }
  const QString chosen = context_.Ask().OpenFileName(Request(titleKey));
  if (chosen.isEmpty()) return std::nullopt;
  path = chosen.toStdString();
  SettingsText file = LoadSettingsFile(path);
  if (!file.doc) context_.AddLogLine(file.error);
  return std::move(file.doc);
}

bool SettingsMenu::StillComplete() {
  // The link may have ended or started over while a dialog was open.
  if (context_.Connected() && RecordsComplete()) return true;
  context_.AddLogLine(LangText(context_.Connected() ? "RecordsIncomplete" : "ImportLinkLost"));
  return false;
}

void SettingsMenu::LogIgnored(const std::string& path, const ImportReport& report) {
  if (report.ignored.empty()) return;
  std::string list;
  for (const std::string& item : report.ignored) list += (list.empty() ? "" : ", ") + item;
  context_.AddLogLine(LangFormat("ValuesIgnored", {path, list}));
}

void SettingsMenu::mnuScheduleConfigExportClick() {
  if (!RecordsComplete()) {
    context_.AddLogLine(LangText("RecordsIncomplete"));
    return;
  }
  // The board is read again in the background; the file gets what the PC
  // holds when the user has chosen it.
  context_.Raise(request::ReadAllSet);
  const QString path = context_.Ask().SaveFileName(Request("ExportScheduleConfig"));
  if (path.isEmpty()) return;
  const std::string error = ExportSettings(path.toStdString(), context_.Store());
  if (!error.empty()) context_.AddLogLine(error);
}

void SettingsMenu::mnuConfigImportClick() {
  std::string path;
  const std::optional<IniDocument> doc = ChooseImport("ImportConfig", path);
  if (!doc || !StillComplete()) return;
  const ImportReport report = ImportConfiguration(*doc, context_.Store());
  LogIgnored(path, report);
  for (RecordKind record :
       {RecordKind::Info, RecordKind::Config, RecordKind::Expert, RecordKind::ExpertWeather})
    context_.ApplyRecord(record);
  if (configurationShown) configurationShown();
  context_.ApplyRecord(RecordKind::Schedule);
  history_->RefreshUndo();
}

void SettingsMenu::mnuScheduleImportClick() {
  // A download on its way would overwrite the imported rows.
  if (context_.Store().Pending(request::ReadSchedule)) return;
  std::string path;
  const std::optional<IniDocument> doc = ChooseImport("ImportSchedule", path);
  if (!doc || !StillComplete() || context_.Store().Pending(request::ReadSchedule)) return;
  const ImportReport report = ImportSchedule(*doc, context_.Store());
  LogIgnored(path, report);
  context_.ApplyRecord(RecordKind::Schedule);
  history_->RefreshUndo();
}

}  // namespace vmx
