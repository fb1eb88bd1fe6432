// The computer's local zone, as the C library sees it (TZ, else /etc/localtime).
#pragma once

#include <memory>

#include "astro/time_zone.h"

namespace vmx {

// The local zone as one rule set when its rule string describes it and agrees
// with the C library over this year and the next; otherwise the C library's
// offset moment by moment. Reads the environment and the zone file each call.
std::shared_ptr<const TimeZone> LoadSystemTimeZone();

}  // namespace vmx
