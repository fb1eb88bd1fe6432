// The File menu's settings files (export, configuration import, schedule
// import) and the automatic backup the connection writes when it lets go of
// a board. It follows the link's reports to know when the PC holds every
// record of the board: before that nothing is written from the records or
// sent back to the board.
#pragma once

#include <QObject>
#include <functional>
#include <optional>
#include <string>

#include "link/link_host.h"
#include "persist/ini_document.h"
#include "persist/records_complete.h"
#include "ui/dialogs.h"

namespace vmx {

class HistoryMenu;
class PageContext;
class SharedStore;
struct ImportReport;

// What the settings files' choosers show: the title's text, the program's
// folder, the ".ini" filter.
Dialogs::FileRequest SettingsFileRequest(const PageContext& context, const char* titleKey);

class SettingsMenu final : public QObject {
  Q_OBJECT

 public:
  SettingsMenu(PageContext& context, QObject* parent);
  ~SettingsMenu() override;

  // The settings history's menu items.
  HistoryMenu& History() { return *history_; }

  // The link's reports, before the pages show the record.
  void LinkState(bool connected);
  void RecordShown(RecordKind record);
  bool RecordsComplete();

  // The automatic backup for a port entry.
  void Backup(const std::string& port);

  void mnuScheduleConfigExportClick();
  void mnuConfigImportClick();
  void mnuScheduleImportClick();

  // Runs once an imported configuration is shown, as after a weather read.
  std::function<void()> configurationShown;

 private:
  Dialogs::FileRequest Request(const char* titleKey) const;
  // The file the user picks to import, read; nothing (and a log line where
  // due) when records are missing, the user cancels or the file is refused.
  std::optional<IniDocument> ChooseImport(const char* titleKey, std::string& path);
  // Whether the link is still up with every record read; logs when not.
  bool StillComplete();
  void LogIgnored(const std::string& path, const ImportReport& report);

  PageContext& context_;
  RecordsCompleteness records_;
  HistoryMenu* history_ = nullptr;
  const SharedStore* boundStore_ = nullptr;
};

}  // namespace vmx
