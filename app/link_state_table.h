// Which controls the link state enables, kept as data: each row names the
// controls ("#" at the end stands for the channel index 0..11) and the condition under
// which they are enabled. The window applies it to whatever controls exist.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vmx {

enum class LinkCondition {
  Connected,
  ManualMode,     // connected and the board in mode Manual
  FanOffAllowed,  // connected and the fan mode is not 1
  AutoOrGeoMode,  // connected and the board in mode Auto or Geo
  WaterSensor,    // connected and a water sensor reports
  SlaveSensor,    // connected and a slave board reports its temperature
  WaterLimits,    // water sensor group enabled and rbtFMOLED not selected
  SettingsRead,   // connected and every record of the link read (settings files)
  UndoAvailable,  // settings read and the board's history holds something to undo
};

struct LinkStateRow {
  LinkCondition condition;
  std::vector<std::string_view> names;
};

// What the conditions look at: the link and the last records read.
struct LinkFacts {
  bool connected = false;
  uint8_t mode = 0;     // Config Mode
  uint8_t fanMode = 0;  // Expert FanMode
  int16_t tempWater = 0x7FFF;
  int16_t tempSlave = 0x7FFF;
  bool fanModeLedSelected = false;  // rbtFMOLED checked
  bool settingsRead = false;        // every record of the current link has been read
  bool undoAvailable = false;       // the board's history has a snapshot to undo to
  bool operator==(const LinkFacts&) const = default;
};

const std::vector<LinkStateRow>& LinkStateTable();

bool ConditionHolds(LinkCondition condition, const LinkFacts& facts);

// A name ending in "#" becomes twelve names, one per channel; others stay as they are.
std::vector<std::string> ExpandControlName(std::string_view name);

}  // namespace vmx
