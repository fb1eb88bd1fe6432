// How the settings controls meet the records, kept as data: which field a
// control shows, how its text reads, which slider pairs with which edit, the
// slider's range and the order two sliders must keep. The Qt layer wires
// controls by these rows; the conversions live here so they are tested bare.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "settings/record_access.h"

namespace vmx {

enum class Shown : uint8_t {
  Integer,      // decimal; typed as an integer (decimal, "$" or "0x" hexadecimal)
  Percent255,   // 0..255 shown as percent, "0.#"
  Percent4096,  // 0..4096 shown as percent, "0.##"
  Tenths,       // tenths shown with one decimal, "0.0" (always Celsius where a temperature)
  TenthsShort,  // tenths shown as "0.#"
  Temperature,  // tenths of a degree Celsius, shown in the unit the Config flag chooses
  MoonPercent,  // a byte of 1/4096 intensity shown as percent, "0.##"
};

// One edit and/or slider on one record field. In names, a trailing "#" stands
// for the channel number 0..11 (edt# is edt0 .. edt11 on Channel0 .. Channel11).
struct Binding {
  std::string_view edit;
  std::string_view slider;
  RecordKind record = RecordKind::Info;
  std::string_view field;
  Shown shown = Shown::Integer;
  int minimum = 0;  // slider range
  int maximum = 0;
  // A moved slider is first lowered to at most the position of `notAbove`,
  // then raised to at least that of `notBelow`; typed values are kept as typed.
  std::string_view notAbove;
  std::string_view notBelow;
  bool sliderStoresOnlyChanges = false;
};

// A binding resolved for one control: names with the channel filled in.
struct BoundControl {
  const Binding* binding = nullptr;
  bool isSlider = false;
  std::string edit, slider, field, notAbove, notBelow;
};

std::span<const Binding> SettingsBindings();
std::optional<BoundControl> FindBinding(std::string_view control);

// The text an edit shows for a field value.
std::string FormatShown(Shown shown, int64_t value, uint8_t configFlag, std::string_view separator);
// The field value for typed text, before it is cut to the field's width;
// nothing when the text does not parse.
std::optional<int64_t> ParseShown(Shown shown, std::string_view text, uint8_t configFlag,
                                  std::string_view separator);

}  // namespace vmx
