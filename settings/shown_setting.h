// A settings-file value as the pages show it: the caption of its control in
// the user's language and the value in the page's unit (percent, degrees
// Celsius or Fahrenheit, times, sun altitude, colour and mode names), so a
// list of changes reads like the window.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "link/records.h"

namespace vmx {

// What the pages take from the other settings to show one: the Config flag
// (temperature unit), the channels' colour names, the decimal separator.
struct ShowContext {
  uint8_t configFlag = 0;
  std::array<uint8_t, kChannels> colorNames{};
  std::string separator = ".";
};

struct ShownSetting {
  std::string caption;
  std::string text;
};

// A key of [Config], [Weather], [Names], [RC5] or [TimeZone].
ShownSetting ShowSectionValue(std::string_view section, std::string_view key, int64_t value,
                              const ShowContext& context);
// A key of a schedule row: its caption, the same on every line, and its
// value; `row` holds the row's values (the time needs both Hour and Minute).
std::string RowCaption(std::string_view key, const ShowContext& context);
std::string RowValueText(std::string_view key, const ScheduleRow& row, const ShowContext& context);

// A control's caption from the [frmLantix] table; the control's name when it has none.
std::string ControlCaption(std::string_view control);

}  // namespace vmx
