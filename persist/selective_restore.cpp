#include "persist/selective_restore.h"

#include <charconv>

#include "link/field_table.h"
#include "persist/history_triggers.h"
#include "persist/settings_file.h"

namespace vmx {
namespace {

std::optional<size_t> Number(std::string_view text) {
  size_t n = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), n);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return n;
}

const SettingsSection* SectionNamed(std::string_view name) {
  for (const SettingsSection& s : SettingsSections())
    if (EqualsIgnoreCase(s.name, name)) return &s;
  return nullptr;
}

const SettingsKey* KeyNamed(const std::vector<SettingsKey>& keys, std::string_view name) {
  for (const SettingsKey& k : keys)
    if (EqualsIgnoreCase(k.Name(), name)) return &k;
  return nullptr;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && EqualsIgnoreCase(text.substr(0, prefix.size()), prefix);
}

// "3-7" or "3".
std::optional<std::pair<size_t, size_t>> Lines(std::string_view text) {
  const size_t dash = text.find('-');
  const std::optional<size_t> first = Number(text.substr(0, dash));
  const std::optional<size_t> last =
      dash == std::string_view::npos ? first : Number(text.substr(dash + 1));
  if (!first || !last || *last < *first) return std::nullopt;
  return std::pair{*first, *last};
}

bool ChooseWord(std::string_view word, RestoreSelection& s, std::string& error) {
  if (EqualsIgnoreCase(word, "schedule")) return s.schedule = true;
  if (const SettingsSection* section = SectionNamed(word)) {
    s.sections.push_back(section->name);
    return true;
  }
  if (StartsWithNoCase(word, "lines=")) {
    const auto range = Lines(word.substr(6));
    if (range) s.lines.push_back(*range);
    else error = "\"" + std::string(word) + "\" is not lines=FIRST-LAST";
    return range.has_value();
  }
  const size_t dot = word.find('.');
  if (dot != std::string_view::npos) {
    const std::string_view section = word.substr(0, dot), name = word.substr(dot + 1);
    if (const std::optional<size_t> row = Number(section)) {
      if (const SettingsKey* key = KeyNamed(RowKeys(), name)) {
        s.keys.emplace_back(RowSectionName(*row), key->Name());
        return true;
      }
    } else if (const SettingsSection* named = SectionNamed(section)) {
      if (const SettingsKey* key = KeyNamed(named->keys, name)) {
        s.keys.emplace_back(named->name, key->Name());
        return true;
      }
    }
  }
  error = "no settings section, line or key \"" + std::string(word) + "\"";
  return false;
}

}  // namespace

bool RestoreSelection::Chooses(std::string_view section, std::string_view key,
                               std::optional<size_t> row) const {
  if (everything) return true;
  if (row) {
    if (schedule) return true;
    for (const auto& [first, last] : lines)
      if (*row >= first && *row <= last) return true;
  } else {
    for (const std::string& s : sections)
      if (s == section) return true;
  }
  for (const auto& [s, k] : keys)
    if (s == section && k == key) return true;
  return false;
}

std::optional<RestoreSelection> ParseRestoreSelection(std::string_view text, std::string& error) {
  RestoreSelection selection;
  selection.everything = false;
  while (!text.empty()) {
    const size_t comma = text.find(',');
    const std::string_view word = text.substr(0, comma);
    if (!word.empty() && !ChooseWord(word, selection, error)) return std::nullopt;
    if (comma == std::string_view::npos) break;
    text.remove_prefix(comma + 1);
  }
  if (selection.sections.empty() && !selection.schedule && selection.lines.empty() &&
      selection.keys.empty()) {
    error = "nothing chosen to restore";
    return std::nullopt;
  }
  return selection;
}

RestorePlan PlanRestore(const IniDocument& source, const RestoreSelection& selection,
                        const SettingsRecords& current) {
  RestorePlan plan;
  SettingsRecords after = current;
  auto consider = [&](const std::string& section, const SettingsKey& key,
                      std::optional<size_t> row) {
    if (!selection.Chooses(section, key.Name(), row)) return;
    const std::optional<std::string_view> text = source.Get(section, key.Name());
    const std::optional<int64_t> value = text ? ParseSettingsInteger(*text) : std::nullopt;
    if (!value) return;  // missing or unreadable: the board keeps its value
    ++plan.chosen;
    const size_t at = row.value_or(0);
    const int64_t before = key.Get(after, at);
    key.Set(after, *value, at);
    if (key.Get(after, at) != before) plan.assignments.push_back({&key, row, *value});
  };
  for (const SettingsSection& s : SettingsSections())
    for (const SettingsKey& key : s.keys) consider(s.name, key, std::nullopt);
  const size_t rows = current.schedule.size();
  for (size_t row = 0; row < rows; ++row)
    for (const SettingsKey& key : RowKeys()) consider(RowSectionName(row), key, row);
  // Lines the file has but the board does not: told, never sent.
  for (size_t row = rows; row < 256; ++row) {
    const std::string section = RowSectionName(row);
    if (!source.HasSection(section)) continue;
    bool chosen = false;
    for (const SettingsKey& key : RowKeys()) chosen = chosen || selection.Chooses(section, key.Name(), row);
    if (chosen) plan.beyondRows.push_back("[" + section + "]");
  }
  return plan;
}

RestoreOutcome RestoreSettings(SharedStore& store, const IniDocument& source,
                               const RestoreSelection& selection, SnapshotReason reason) {
  RestoreOutcome outcome;
  SnapshotStore(store, reason);
  outcome.plan = PlanRestore(source, selection, TakeSettings(store));
  if (!outcome.plan.assignments.empty())
    outcome.bits = AssignSettings(store, outcome.plan.assignments, outcome.error);
  outcome.sent = TakeSettings(store);
  return outcome;
}

}  // namespace vmx
