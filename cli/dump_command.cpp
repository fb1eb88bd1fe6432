#include "cli/dump_command.h"

#include <cstdio>
#include <string>

#include "cli/board_session.h"
#include "persist/settings_file.h"

namespace vmx::cli {
namespace {

const char* const kUsage =
    "usage: velmarinex-cli dump PORT [--json] [--verbose]\n"
    "  every setting of the board by its settings-file section and key\n"
    "  --json     one JSON object: {\"Config\": {\"Mode\": 1, ...}, ..., \"0\": {...}}\n"
    "  --verbose  show the link's messages on stderr\n";

}  // namespace

namespace {

std::string Ini(const SettingsRecords& records) {
  IniDocument doc;
  PutSettings(doc, records);
  // A file is written with CR LF; a terminal wants plain line feeds.
  std::string text = doc.Text();
  for (size_t at; (at = text.find("\r\n")) != std::string::npos;) text.erase(at, 1);
  return text;
}

}  // namespace

int DumpCommand(int argc, char** argv) {
  std::string port;
  bool json = false, verbose = false, bad = false;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--json")
      json = true;
    else if (a == "--verbose" || a == "-v")
      verbose = true;
    else if (port.empty() && !a.starts_with("--"))
      port = a;
    else
      bad = true;
  }
  if (port.empty() || bad) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  BoardSession session(PortArguments(port, verbose));
  std::string error;
  if (!session.Open(error)) {
    std::fprintf(stderr, "velmarinex-cli: %s\n", error.c_str());
    return 1;
  }
  SettingsRecords records;
  session.OnUi([&] { records = TakeSettings(session.Store()); });
  const std::string text = json ? SettingsJson(records) + "\n" : Ini(records);
  std::fwrite(text.data(), 1, text.size(), stdout);
  return 0;
}

const char* DumpUsage() {
  return kUsage;
}

}  // namespace vmx::cli
