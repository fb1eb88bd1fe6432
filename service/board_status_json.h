// The live values of a board as the service shows them: the same values the
// status bar and the MQTT state topics show, as one JSON object.
#pragma once

#include <string>

#include "cli/json_writer.h"
#include "link/records.h"

namespace vmx::service {

using cli::Json;

// {"id", "connected", "clock", "row", "channels", "unit", "temperatures",
//  "voltage", "flags", "cloud", "storm"}.
Json BoardStatusValue(const std::string& id, bool connected, const Info& info,
                      const Config& config);

// The API's word for a mode ("manual", "auto", "geo", "rgb", "flash"); null for another.
Json ModeValue(BoardMode mode);
// The mode a word names, as the API takes it ("rgbdemo" too).
std::optional<BoardMode> ModeOfWord(const std::string& word);

}  // namespace vmx::service
