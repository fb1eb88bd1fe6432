// Single settings named by their file keys, as the command line sets them:
// "FanLow=77", "Weather.CloudP=$4C", "3.Color160=4096".
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "persist/settings_keys.h"

namespace vmx {

class SharedStore;

struct SettingsAssignment {
  const SettingsKey* key = nullptr;
  std::optional<size_t> row;  // for the keys of a schedule row
  int64_t value = 0;
};

// "Key=Value" with "Key" or "Section.Key" (a row section by its number);
// sections and keys match without regard to case, values as files hold them.
// Nothing when the key is unknown or the value unreadable; `error` says which.
std::optional<SettingsAssignment> ParseAssignment(std::string_view text, std::string& error);

// Stores the values in the shared records (cut to their fields' widths),
// marks the rows they change and raises the write bits of the records they
// touch, which it returns. Rows beyond the schedule make it store nothing
// and return 0, with `error` set.
uint32_t AssignSettings(SharedStore& store, std::span<const SettingsAssignment> assignments,
                        std::string& error);

// The write bits a key's record is sent with.
uint32_t WriteBitsOf(const SettingsAssignment& assignment);
// Whether any of them changes the schedule, which a running acclimation plan
// then takes as its new target.
bool WritesSchedule(std::span<const SettingsAssignment> assignments);

}  // namespace vmx
