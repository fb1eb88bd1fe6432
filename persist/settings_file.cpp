#include "persist/settings_file.h"

#include <charconv>

#include "lang/catalogue.h"
#include "link/shared_store.h"
#include "persist/history_triggers.h"
#include "persist/text_file.h"

namespace vmx {
namespace {

// Reads the keys of one section into `records` (row `row` for row keys).
void ReadSection(const IniDocument& doc, const std::string& section,
                 const std::vector<SettingsKey>& keys, SettingsRecords& records, size_t row,
                 ImportReport& report) {
  if (!doc.HasSection(section)) return;
  ++report.sections;
  for (const SettingsKey& key : keys) {
    const std::optional<std::string_view> text = doc.Get(section, key.Name());
    if (!text) continue;
    const std::optional<int64_t> value = ParseSettingsInteger(*text);
    if (!value) {
      // A long run of junk would swamp the log; its start says enough.
      constexpr size_t kShown = 40;
      std::string shown(text->substr(0, kShown));
      if (text->size() > kShown) shown += "...";
      report.ignored.push_back("[" + section + "] " + key.Name() + "=" + shown);
      continue;
    }
    key.Set(records, *value, row);
    ++report.values;
  }
}

}  // namespace

SettingsRecords TakeSettings(SharedStore& store) {
  SettingsRecords records{store.config, store.expert, store.weather, store.schedule};
  // The table is as long as the last accepted Info says; never more.
  if (records.schedule.size() > store.info.RowCount) records.schedule.resize(store.info.RowCount);
  return records;
}

void PutSettings(IniDocument& doc, const SettingsRecords& records) {
  for (const SettingsSection& section : SettingsSections())
    for (const SettingsKey& key : section.keys)
      doc.Set(section.name, key.Name(), std::to_string(key.Get(records)));
  for (size_t row = 0; row < records.schedule.size(); ++row) {
    const std::string section = RowSectionName(row);
    for (const SettingsKey& key : RowKeys())
      doc.Set(section, key.Name(), std::to_string(key.Get(records, row)));
  }
}

std::optional<int64_t> ParseSettingsInteger(std::string_view text) {
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  int base = 10;
  uint64_t limit = negative ? 0x80000000u : 0x7FFFFFFFu;
  if (text.starts_with('$')) {
    text.remove_prefix(1);
    base = 16;
  } else if (text.starts_with("0x") || text.starts_with("0X")) {
    text.remove_prefix(2);
    base = 16;
  }
  if (base == 16) limit = 0xFFFFFFFFu;
  // from_chars would take a second sign; only digits may follow.
  if (text.empty() || text.front() == '-' || text.front() == '+') return std::nullopt;
  uint64_t magnitude = 0;
  const auto [end, error] =
      std::from_chars(text.data(), text.data() + text.size(), magnitude, base);
  if (error != std::errc() || end != text.data() + text.size() || magnitude > limit)
    return std::nullopt;
  const auto value = static_cast<int64_t>(magnitude);
  return negative ? -value : value;
}

ImportReport ReadConfiguration(const IniDocument& doc, SettingsRecords& records) {
  ImportReport report;
  for (const SettingsSection& section : SettingsSections())
    ReadSection(doc, section.name, section.keys, records, 0, report);
  return report;
}

ImportReport ReadSchedule(const IniDocument& doc, SettingsRecords& records) {
  ImportReport report;
  for (size_t row = 0; row < records.schedule.size(); ++row)
    ReadSection(doc, RowSectionName(row), RowKeys(), records, row, report);
  return report;
}

ImportReport ImportConfiguration(const IniDocument& doc, SharedStore& store) {
  SnapshotStore(store, SnapshotReason::BeforeImport);
  SettingsRecords records{store.config, store.expert, store.weather, {}};
  const ImportReport report = ReadConfiguration(doc, records);
  store.config = records.config;
  store.expert = records.expert;
  store.weather = records.weather;
  store.Raise(request::ConfigImportSet);
  return report;
}

ImportReport ImportSchedule(const IniDocument& doc, SharedStore& store) {
  SnapshotStore(store, SnapshotReason::BeforeImport);
  SettingsRecords records;
  records.schedule = store.schedule;
  if (records.schedule.size() > store.info.RowCount) records.schedule.resize(store.info.RowCount);
  const ImportReport report = ReadSchedule(doc, records);
  std::copy(records.schedule.begin(), records.schedule.end(), store.schedule.begin());
  // Every row goes out again, changed or not: the board then holds the file.
  store.MarkRows(0, records.schedule.size(), request::WriteSchedule);
  return report;
}

SettingsText LoadSettingsFile(const std::string& path) {
  SettingsText result;
  const FileRead file = ReadTextFile(path);
  if (file.status != FileRead::Status::Read) {
    result.error = LangFormat("FileNotRead", {path, file.error});
    return result;
  }
  // INI text has no NUL bytes; a file with them is something else.
  if (file.text.find('\0') != std::string::npos) {
    result.error = LangFormat("FileNotRead", {path, LangText("NotSettingsFile")});
    return result;
  }
  result.doc = IniDocument::Parse(file.text);
  return result;
}

std::string WriteSettingsFile(const std::string& path, const SettingsRecords& records) {
  const FileRead old = ReadTextFile(path);
  if (old.status == FileRead::Status::Failed)
    return LangFormat("FileKeptUnreadable", {path, old.error});
  IniDocument doc =
      old.status == FileRead::Status::Read ? IniDocument::Parse(old.text) : IniDocument();
  PutSettings(doc, records);
  const std::string error = ReplaceFile(path, doc.Text());
  return error.empty() ? std::string() : LangFormat("FileNotWritten", {path, error});
}

std::string ExportSettings(const std::string& path, SharedStore& store) {
  const std::string error = WriteSettingsFile(path, TakeSettings(store));
  if (error.empty()) SnapshotStore(store, SnapshotReason::Export);
  return error;
}

}  // namespace vmx
