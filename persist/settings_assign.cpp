#include "persist/settings_assign.h"

#include <algorithm>
#include <charconv>

#include "link/field_table.h"
#include "link/record_requests.h"
#include "link/shared_store.h"
#include "persist/settings_file.h"

namespace vmx {
namespace {

const SettingsKey* FindIn(const std::vector<SettingsKey>& keys, std::string_view name) {
  for (const SettingsKey& key : keys)
    if (EqualsIgnoreCase(key.Name(), name)) return &key;
  return nullptr;
}

std::optional<size_t> RowNumber(std::string_view text) {
  size_t row = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), row);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return row;
}

uint32_t BitOf(const SettingsKey* key) {
  return WriteBitOf(key->Holder());
}

}  // namespace

std::optional<SettingsAssignment> ParseAssignment(std::string_view text, std::string& error) {
  const size_t equals = text.find('=');
  if (equals == std::string_view::npos) {
    error = "\"" + std::string(text) + "\" is not KEY=VALUE";
    return std::nullopt;
  }
  std::string_view name = text.substr(0, equals);
  const std::string_view valueText = text.substr(equals + 1);
  SettingsAssignment a;
  if (const size_t dot = name.find('.'); dot != std::string_view::npos) {
    const std::string_view section = name.substr(0, dot);
    name.remove_prefix(dot + 1);
    if ((a.row = RowNumber(section))) {
      a.key = FindIn(RowKeys(), name);
    } else {
      for (const SettingsSection& s : SettingsSections())
        if (EqualsIgnoreCase(s.name, section)) a.key = FindIn(s.keys, name);
    }
  } else {
    for (const SettingsSection& s : SettingsSections())
      if (!a.key) a.key = FindIn(s.keys, name);
  }
  if (!a.key) {
    error = "no settings key \"" + std::string(text.substr(0, equals)) + "\"";
    return std::nullopt;
  }
  const std::optional<int64_t> value = ParseSettingsInteger(valueText);
  if (!value) {
    error = "\"" + std::string(valueText) + "\" is no value for " + a.key->Name();
    return std::nullopt;
  }
  a.value = *value;
  return a;
}

uint32_t WriteBitsOf(const SettingsAssignment& assignment) {
  return BitOf(assignment.key);
}

bool WritesSchedule(std::span<const SettingsAssignment> assignments) {
  return std::any_of(assignments.begin(), assignments.end(), [](const SettingsAssignment& a) {
    return (WriteBitsOf(a) & request::WriteSchedule) != 0;
  });
}

uint32_t AssignSettings(SharedStore& store, std::span<const SettingsAssignment> assignments,
                        std::string& error) {
  SettingsRecords records{store.config, store.expert, store.weather, store.schedule};
  const size_t rows = std::min<size_t>(records.schedule.size(), store.info.RowCount);
  for (const SettingsAssignment& a : assignments) {
    if (a.row && *a.row >= rows) {
      error = "the board has " + std::to_string(rows) + " schedule rows, no row " +
              std::to_string(*a.row);
      return 0;
    }
  }
  uint32_t bits = 0;
  for (const SettingsAssignment& a : assignments) {
    a.key->Set(records, a.value, a.row.value_or(0));
    bits |= BitOf(a.key);
  }
  store.config = records.config;
  store.expert = records.expert;
  store.weather = records.weather;
  store.schedule = records.schedule;
  for (const SettingsAssignment& a : assignments)
    if (a.row) store.MarkRows(*a.row, 1, 0);
  store.Raise(bits);
  return bits;
}

}  // namespace vmx
