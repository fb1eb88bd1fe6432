// Settings files: the board's configuration and schedule as INI text. Export
// and the automatic backup write them; the configuration import and the
// schedule import read them back into the shared records, whose write bits
// then send them to the board. The window and the command line both use
// these routines, on the thread that runs the link's hand-offs.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "persist/ini_document.h"
#include "persist/settings_keys.h"

namespace vmx {

class SharedStore;

// The records as they stand now (UI thread: the records are its own).
SettingsRecords TakeSettings(SharedStore& store);

// Writes every key into `doc`, section by section, then one section per row
// of the schedule. Keys already in `doc` are replaced where they stand;
// everything else in it stays.
void PutSettings(IniDocument& doc, const SettingsRecords& records);

// A value as files hold it: an optional sign and decimal digits (leading
// zeros too), or hexadecimal after "$" or "0x". Decimal values must fit 32
// signed bits and hexadecimal ones 32 bits; anything else gives nothing.
std::optional<int64_t> ParseSettingsInteger(std::string_view text);

struct ImportReport {
  int sections = 0;                  // sections the import reads that the file has
  int values = 0;                    // values stored
  std::vector<std::string> ignored;  // "[Config] FanLow=12abc": left as they were
};

// Each readable value is stored cut to its field's width; a missing or
// unreadable one leaves only its own field as it was.
ImportReport ReadConfiguration(const IniDocument& doc, SettingsRecords& records);
// Rows beyond `records.schedule` are not read; rows the file lacks stay.
ImportReport ReadSchedule(const IniDocument& doc, SettingsRecords& records);

// The same on the shared records, after a snapshot of the board's settings
// into its history, followed by the requests that send them:
// WriteConfig, WriteExpert and WriteWeather; or every row marked as changed
// and WriteSchedule.
ImportReport ImportConfiguration(const IniDocument& doc, SharedStore& store);
ImportReport ImportSchedule(const IniDocument& doc, SharedStore& store);

// The file's text for an import, or why it cannot be one (a message for the
// log, naming the file).
struct SettingsText {
  std::optional<IniDocument> doc;
  std::string error;
};
SettingsText LoadSettingsFile(const std::string& path);

// Writes the records into the file at `path`, merging them into the file that
// is there. An existing file that cannot be read is left alone. Returns a
// message for the log when the file was not written; empty on success.
std::string WriteSettingsFile(const std::string& path, const SettingsRecords& records);

// The export: the records as they stand now into the file, and a snapshot
// into the board's history once the file is written.
std::string ExportSettings(const std::string& path, SharedStore& store);

}  // namespace vmx
