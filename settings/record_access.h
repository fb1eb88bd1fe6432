// A record field reached by its name, as controls and settings keys name it.
// Reading gives the field's value (signed where the field is); writing cuts
// the value to the field's width, as the board would read those bytes.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "link/record_kind.h"
#include "link/record_requests.h"

namespace vmx {

class SharedStore;

std::optional<int64_t> ReadField(const SharedStore& store, RecordKind record,
                                 std::string_view field);
// False when the record has no such field (the schedule, chart and health
// have none here: their fields are reached through their own tables).
bool WriteField(SharedStore& store, RecordKind record, std::string_view field, int64_t value);

}  // namespace vmx
