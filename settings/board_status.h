// The board's live state as one line of text and the mode panel's text, in
// the current language. Shown in the caption, on the Configuration page and
// in the status bar after every Info and Config read.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "link/records.h"

namespace vmx {

// Port, error texts, the temperatures that have a sensor, input voltage, each
// after " • ": "/dev/ttyUSB0 • Board temperature: 31.5°C • Input voltage: 24.01 Volt".
std::string BoardStatusText(const Info& info, uint8_t configFlag, std::string_view port,
                            std::string_view separator);

// Any error bit but "RAM full" shows the status in red.
bool BoardStatusAlarming(uint8_t errorFlags);

// Mode name, then the activity letters ("AutoOT"); "Saving" while the board saves.
std::string ModePanelText(uint8_t mode, uint8_t activityFlags, uint8_t statusFlags);

}  // namespace vmx
