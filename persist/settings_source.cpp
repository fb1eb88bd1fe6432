#include "persist/settings_source.h"

#include <system_error>

#include "link/port_name.h"
#include "persist/data_root.h"

namespace vmx {

SettingsSource ParseSettingsSource(std::string_view text) {
  SettingsSource source;
  std::error_code ec;
  if (const size_t at = text.rfind('@'); at != std::string_view::npos && at > 0) {
    const std::string_view which = text.substr(at + 1);
    const bool number =
        !which.empty() && which.find_first_not_of("0123456789") == std::string_view::npos;
    if (which == "latest" || number) {
      source.kind = SettingsSource::Kind::Snapshot;
      source.port = PortFromArgument(text.substr(0, at));
      source.which = which;
      return source;
    }
  }
  if (std::filesystem::is_regular_file(std::filesystem::path(text), ec)) {
    source.kind = SettingsSource::Kind::File;
    source.path = text;
    return source;
  }
  source.port = PortFromArgument(text);
  return source;
}

SettingsHistory HistoryOfPort(const std::filesystem::path& root, std::string_view port,
                              std::string program) {
  return SettingsHistory(BoardFolder(root, "history", BoardIdOfPort(port)), std::move(program));
}

LoadedSnapshot LoadSourceSnapshot(const std::filesystem::path& root, const SettingsSource& source,
                                  size_t* rows) {
  const SettingsHistory history = HistoryOfPort(root, source.port, {});
  const std::vector<SnapshotEntry> entries = history.List();
  const std::optional<SnapshotEntry> entry = PickSnapshot(entries, source.which);
  if (!entry) {
    LoadedSnapshot none;
    none.error = "no snapshot " + source.which + " of " + source.port + " (" +
                 std::to_string(entries.size()) + " in " + history.Folder().string() + ")";
    return none;
  }
  LoadedSnapshot loaded = history.Load(*entry);
  if (loaded.doc && rows) {
    size_t n = 0;
    while (n < 256 && loaded.doc->HasSection(std::to_string(n))) ++n;
    *rows = n;
  }
  return loaded;
}

}  // namespace vmx
