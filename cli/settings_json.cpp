#include "cli/settings_json.h"

namespace vmx::cli {

Json SettingsValue(const SettingsRecords& records) {
  Json all = Json::object();
  for (const SettingsSection& section : SettingsSections()) {
    Json keys = Json::object();
    for (const SettingsKey& key : section.keys) keys[key.Name()] = key.Get(records);
    all[section.name] = std::move(keys);
  }
  for (size_t row = 0; row < records.schedule.size(); ++row) {
    Json keys = Json::object();
    for (const SettingsKey& key : RowKeys()) keys[key.Name()] = key.Get(records, row);
    all[RowSectionName(row)] = std::move(keys);
  }
  return all;
}

std::string SettingsJson(const SettingsRecords& records) {
  return JsonText(SettingsValue(records));
}

}  // namespace vmx::cli
