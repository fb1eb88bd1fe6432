// Two settings sets compared key by key: the board's records, a settings
// file or a snapshot on either side. Each difference carries both raw values
// and both as the pages show them; a key one side lacks is missing there, not
// zero, and schedule lines beyond the board's rows are listed apart.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "persist/ini_document.h"
#include "persist/settings_keys.h"

namespace vmx {

// One settings set, key by key; a key the set lacks has no value.
struct SettingsValues {
  std::vector<std::optional<int64_t>> keys;               // every section key, in file order
  std::vector<std::vector<std::optional<int64_t>>> rows;  // per schedule row, RowKeys() order
};

SettingsValues ValuesOfRecords(const SettingsRecords& records);
// A value that is not an integer counts as missing, as the imports skip it.
SettingsValues ValuesOfFile(const IniDocument& doc);

struct DiffOptions {
  // The board's RowCount: lines at or beyond it are reported apart. Without
  // one, every line either side has is compared.
  std::optional<size_t> rowCount;
  std::string separator = ".";
};

struct SettingsDifference {
  std::string section;  // "Config", or the row's number
  std::string key;
  std::optional<int64_t> a, b;  // nothing: the key is missing on that side
  std::string aShown, bShown;   // as the pages show them, with the unit
  std::string caption;          // the control's caption, in the user's language
};

struct SettingsDiff {
  std::vector<SettingsDifference> differences;
  std::vector<SettingsDifference> beyondRows;  // schedule lines the board does not have
  bool Equal() const { return differences.empty() && beyondRows.empty(); }
};

SettingsDiff DiffSettings(const SettingsValues& a, const SettingsValues& b,
                          const DiffOptions& options = {});

}  // namespace vmx
