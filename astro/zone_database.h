// The zone database's files (TZif), read with the standard library only: the
// computer's zone on Linux and the zones the keeper names everywhere. Windows
// has no such database of its own; a TZDIR that points at one serves there.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "astro/time_zone.h"

namespace vmx {

// The rule string at the end of a zone file; nothing for a file that is
// missing, damaged or too old to carry one.
std::optional<std::string> ZoneFileFooter(const std::string& path);

// The zone file a TZ value names, as the C library looks it up (TZDIR, else
// /usr/share/zoneinfo); no file for a name that climbs out of the zone directory.
std::optional<std::string> ZoneFilePath(std::string_view name);

// A zone of the database by its name ("Europe/Berlin"), as one rule set from
// the rule string at the end of its file; nothing for a name the database does
// not hold, a path, or a zone one rule set cannot describe.
std::shared_ptr<const TimeZone> LoadNamedTimeZone(std::string_view name);

}  // namespace vmx
