// The computer's local zone, as the C library sees it (TZ, else /etc/localtime).
#pragma once

#include <memory>
#include <string_view>

#include "astro/time_zone.h"

namespace vmx {

// The local zone as one rule set when its rule string describes it and agrees
// with the C library over this year and the next; otherwise the C library's
// offset moment by moment. Reads the environment and the zone file each call.
std::shared_ptr<const TimeZone> LoadSystemTimeZone();

// A zone of the system's zone database by its name ("Europe/Berlin"), as one
// rule set from the rule string at the end of its file; nothing for a name
// the database does not hold, a path, or a zone one rule set cannot describe.
std::shared_ptr<const TimeZone> LoadNamedTimeZone(std::string_view name);

}  // namespace vmx
