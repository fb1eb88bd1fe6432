// The system's zone data on POSIX systems: the rule string of TZ (as in
// "CET-1CEST,M3.5.0,M10.5.0/3") and the one at the end of a compiled zone file.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "astro/time_zone.h"

namespace vmx {

// The rule set a TZ rule string describes, when one fixed rule set can: month/
// week/weekday rules with transition times within the day and offsets in whole
// minutes. Julian-day rules, daylight saving without rules and anything
// malformed give nothing.
std::optional<TimeZoneInfo> ParsePosixTimeZone(std::string_view text);

// The rule string at the end of a compiled zone file (format version 2 or
// later); nothing for older or damaged files.
std::optional<std::string> TzifFooter(std::string_view bytes);

}  // namespace vmx
