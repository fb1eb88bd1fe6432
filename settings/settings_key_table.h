// Every settings-file key described for a program that edits it without the
// window: its section, the width of its field, the values it can hold, the
// slider range the window's page offers, how the page shows the value, and
// the caption the language tables give it. Forms are generated from this
// table, and a value outside the range is refused instead of cut to the
// field's width.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "persist/settings_keys.h"

namespace vmx {

struct SettingsKeyInfo {
  std::string section;  // "Config", "Weather", ...; "Row" for the keys of every row section
  const SettingsKey* key = nullptr;
  std::string type;  // "u8", "s8", "u16", "s16", "u24", "u32"
  int64_t minimum = 0, maximum = 0, step = 1;
  // The page's slider, where it has one.
  std::optional<int64_t> sliderMinimum, sliderMaximum;
  // How the page shows the raw value: "integer", "percent255", "percent4096",
  // "tenths", "tenths_short", "temperature", "moon_percent".
  std::string shown = "integer";
  // "frmLantix" key of its caption in the language tables; empty without one.
  std::string caption;
};

// Sections in file order, then the row keys.
const std::vector<SettingsKeyInfo>& SettingsKeyTable();
// The entry of a key of a section ("Row" for a row section), matched as files match.
const SettingsKeyInfo* FindSettingsKeyInfo(std::string_view section, std::string_view key);
// Whether a file has a section of that name (a row section aside).
bool KnownSettingsSection(std::string_view section);
// Why `value` cannot be stored in the key's field as it stands; nothing when it can.
std::optional<std::string> KeyRangeProblem(const SettingsKeyInfo& info, int64_t value);

}  // namespace vmx
