// What the weather pages show and store. The user thinks in clouds a day,
// seconds a cloud, storms a week and minutes a storm; the board keeps the
// chance per second that a cloud or storm starts and that a running one ends
// (clouds in 1/65536, storms in 1/2^20). A moon level is a byte of channel
// intensity in 1/4096, shown in percent.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "link/records.h"

namespace vmx {

// The sliders' ranges: a typed count or duration is first clamped to them.
struct SliderRange {
  int minimum, maximum;
  int Clamp(int64_t value) const;
};
inline constexpr SliderRange kCloudCountRange{0, 3000};
inline constexpr SliderRange kCloudSecondsRange{1, 900};
inline constexpr SliderRange kStormCountRange{0, 1000};
inline constexpr SliderRange kStormMinutesRange{1, 200};

// Slider positions to record values, rounded to nearest with ties to even.
// A duration below 1 has no value: the caller leaves the field alone.
uint16_t CloudPFromCount(int64_t cloudsPerDay);
std::optional<uint16_t> CloudDFromSeconds(int64_t seconds);  // at most 65535
uint16_t StormPFromCount(int64_t stormsPerWeek);
std::optional<uint16_t> StormDFromMinutes(int64_t minutes);

// Record values to slider positions, truncated (before the slider's own
// clamping). A zero duration field shows no duration.
int64_t CloudCountOf(uint16_t cloudP);
std::optional<int64_t> CloudSecondsOf(uint16_t cloudD);
int64_t StormCountOf(uint16_t stormP);
std::optional<int64_t> StormMinutesOf(uint16_t stormD);

// "Cloud ratio: 6.5%", the long-run share of time under a cloud, with
// "Cloud currently active • " in front while the board runs a cloud in mode
// Auto or Geo. Empty when both fields are zero (the prefix may still show).
std::string CloudRatioText(const Config& config, uint8_t activityFlags, std::string_view separator);
std::string StormRatioText(const Config& config, uint8_t activityFlags, std::string_view separator);

// A moon level as the edit shows it: "0.##" percent of full intensity.
std::string MoonPercentText(int64_t level, std::string_view separator);
// Typed percent to the level before it is cut to the byte; nothing when the
// text is no number.
std::optional<int64_t> MoonLevelFromPercent(std::string_view text, std::string_view separator);

}  // namespace vmx
