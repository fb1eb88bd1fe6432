// A record field reached by its name, as controls and settings keys name it.
// Reading gives the field's value (signed where the field is); writing cuts
// the value to the field's width, as the board would read those bytes.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace vmx {

class SharedStore;

enum class RecordKind : uint8_t { Info, Config, Expert, ExpertWeather };

std::optional<int64_t> ReadField(const SharedStore& store, RecordKind record,
                                 std::string_view field);
// False when the record has no such field.
bool WriteField(SharedStore& store, RecordKind record, std::string_view field, int64_t value);

// The request bit that sends the record to the board.
uint32_t WriteBitOf(RecordKind record);

}  // namespace vmx
