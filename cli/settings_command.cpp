#include "cli/settings_command.h"

#include <cstdio>
#include <string>
#include <vector>

#include "cli/board_session.h"
#include "cli/history_command.h"
#include "persist/auto_backup.h"
#include "persist/settings_file.h"

namespace vmx::cli {
namespace {

const char* const kUsage =
    "usage: velmarinex-cli settings export PORT FILE [--verbose]\n"
    "       velmarinex-cli settings import config|schedule PORT FILE [--verbose]\n"
    "       velmarinex-cli settings backup PORT [--dir DIR] [--verbose]\n"
    "       velmarinex-cli settings history PORT [--json]\n"
    "       velmarinex-cli settings diff A B [--json] [--verbose]\n"
    "       velmarinex-cli settings restore PORT SOURCE [--only LIST] [--verbose]\n"
    "       velmarinex-cli settings undo PORT [--verbose]\n"
    "  export   read every setting of the board and write them into FILE (merged\n"
    "           into the file that is there)\n"
    "  import   send the configuration or the schedule in FILE to the board\n"
    "  backup   write Backup_<port>.ini into DIR (default: the current folder)\n"
    "  history  list the board's snapshots: index, time (UTC), reason, file\n"
    "  diff     compare two settings sets, each a PORT, a FILE, PORT@N or PORT@latest;\n"
    "           exit 0 when equal, 1 when they differ, 2 on trouble\n"
    "  restore  put SOURCE (a FILE or PORT@N) back on the board, all of it or the\n"
    "           --only list: config,weather,names,rc5,timezone,schedule,lines=3-7,\n"
    "           Config.FanLow,2.Hour,...\n"
    "  undo     bring back the snapshot taken before the last import, restore,\n"
    "           reef defaults or undo\n"
    "  --verbose  show the link's messages on stderr\n";

int Usage(bool asked = false) {
  std::fputs(kUsage, asked ? stdout : stderr);
  return asked ? 0 : 2;
}

int Fail(const std::string& message) {
  std::fprintf(stderr, "velmarinex-cli: %s\n", message.c_str());
  return 1;
}

// Connects and waits for every record; nullptr after printing why not.
std::unique_ptr<BoardSession> Connect(const std::string& port, bool verbose) {
  auto session = std::make_unique<BoardSession>(PortArguments(port, verbose));
  std::string error;
  if (session->Open(error)) return session;
  Fail(error);
  return nullptr;
}

int Export(const std::string& port, const std::string& file, bool verbose) {
  const auto session = Connect(port, verbose);
  if (!session) return 1;
  std::string error;
  session->OnUi([&] { error = ExportSettings(file, session->Store()); });
  if (!error.empty()) return Fail(error);
  std::printf("%s\n", file.c_str());
  return 0;
}

// Whether the file holds anything the import reads.
bool HasConfiguration(const IniDocument& doc) {
  for (const SettingsSection& section : SettingsSections())
    if (doc.HasSection(section.name)) return true;
  return false;
}

bool HasSchedule(const IniDocument& doc) {
  return doc.HasSection(RowSectionName(0));
}

int Import(bool schedule, const std::string& port, const std::string& file, bool verbose) {
  // The file is judged before the board is touched: a refused file sends nothing.
  const SettingsText text = LoadSettingsFile(file);
  if (!text.doc) return Fail(text.error);
  if (schedule ? !HasSchedule(*text.doc) : !HasConfiguration(*text.doc))
    return Fail(file + (schedule ? " has no schedule row sections ([0], [1], ...)"
                                 : " has no [Config], [Weather], [Names], [RC5] or [TimeZone] "
                                   "section"));
  const auto session = Connect(port, verbose);
  if (!session) return 1;
  ImportReport report;
  SettingsRecords sent;
  session->OnUi([&] {
    SharedStore& store = session->Store();
    report = schedule ? ImportSchedule(*text.doc, store) : ImportConfiguration(*text.doc, store);
    sent = TakeSettings(store);
  });
  for (const std::string& item : report.ignored)
    std::fprintf(stderr, "velmarinex-cli: left out %s\n", item.c_str());
  const uint32_t bits = schedule ? request::WriteSchedule : request::ConfigImportSet;
  std::string error;
  if (!session->WaitWritten(bits, sent, error)) return Fail(error);
  return 0;
}

int Backup(const std::string& port, const std::string& folder, bool verbose) {
  const auto session = Connect(port, verbose);
  if (!session) return 1;
  BackupResult result = BackupResult::Failed;
  std::string message;
  session->OnUi([&] {
    result = WriteBackup(folder, port, session->Store(), session->Records(),
                         [&](const std::string& line) { message = line; });
  });
  if (result != BackupResult::Written)
    return Fail(message.empty() ? "no backup written for " + port : message);
  const std::string name = BackupFileName(port);
  std::printf("%s\n", (folder.ends_with('/') ? folder + name : folder + "/" + name).c_str());
  return 0;
}

}  // namespace

int SettingsCommand(int argc, char** argv) {
  std::vector<std::string> words;
  std::string folder = ".";
  bool verbose = false;
  HistoryOptions history;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--verbose" || a == "-v")
      verbose = true;
    else if (a == "--json")
      history.json = true;
    else if (a == "--only" && i + 1 < argc)
      history.only = argv[++i];
    else if (a == "--dir" && i + 1 < argc)
      folder = argv[++i];
    else if (a == "--help" || a == "-h")
      return Usage(true);
    else
      words.push_back(a);
  }
  if (words.size() == 3 && words[0] == "export") return Export(words[1], words[2], verbose);
  if (words.size() == 4 && words[0] == "import" && (words[1] == "config" || words[1] == "schedule"))
    return Import(words[1] == "schedule", words[2], words[3], verbose);
  if (words.size() == 2 && words[0] == "backup" && !folder.empty())
    return Backup(words[1], folder, verbose);
  history.verbose = verbose;
  if (int code = 0; RunHistoryCommand(words, history, code)) return code;
  return Usage();
}

const char* SettingsUsage() {
  return kUsage;
}

}  // namespace vmx::cli
