#include "settings/weather_counts.h"

#include <algorithm>

#include "lang/catalogue.h"
#include "lang/number_text.h"

namespace vmx {
namespace {

constexpr int64_t kCloudScale = 65536;    // cloud chances are in 1/65536 per second
constexpr int64_t kStormScale = 1048576;  // storm chances in 1/2^20 per second
constexpr int64_t kSecondsPerDay = 86400;
constexpr int64_t kSecondsPerWeek = 604800;
constexpr int64_t kStormMinuteScale = 17476;  // 2^20 / 60, as the board's own display divides

// numerator / denominator rounded to nearest, ties to even; both positive.
// Exact in integers, so a value that lies half way really is a tie.
int64_t RoundedQuotient(int64_t numerator, int64_t denominator) {
  const int64_t q = numerator / denominator;
  const int64_t twiceRest = 2 * (numerator % denominator);
  if (twiceRest > denominator || (twiceRest == denominator && (q & 1))) return q + 1;
  return q;
}

uint16_t CutToField(int64_t value) {
  return static_cast<uint16_t>(value);
}

std::string RatioText(std::string_view captionKey, std::string_view activeKey, uint16_t p,
                      uint16_t d, bool active, std::string_view separator) {
  std::string text;
  const int64_t sum = int64_t{p} + d;
  if (sum > 0)
    text = LangText(captionKey) + ": " +
           FormatDecimal(100.0 * p / static_cast<double>(sum), 0, 1, separator) + "%";
  if (active) text = LangText(activeKey) + " \u2022 " + text;
  return text;
}

bool WeatherRuns(const Config& config) {
  return RunsSchedule(ModeOf(config.Mode));
}

}  // namespace

int SliderRange::Clamp(int64_t value) const {
  return static_cast<int>(std::clamp<int64_t>(value, minimum, maximum));
}

uint16_t CloudPFromCount(int64_t cloudsPerDay) {
  return CutToField(
      RoundedQuotient(std::max<int64_t>(cloudsPerDay, 0) * kCloudScale, kSecondsPerDay));
}

std::optional<uint16_t> CloudDFromSeconds(int64_t seconds) {
  if (seconds < 1) return std::nullopt;
  return static_cast<uint16_t>(std::min<int64_t>(0xFFFF, RoundedQuotient(kCloudScale, seconds)));
}

uint16_t StormPFromCount(int64_t stormsPerWeek) {
  return CutToField(
      RoundedQuotient(std::max<int64_t>(stormsPerWeek, 0) * kStormScale, kSecondsPerWeek));
}

std::optional<uint16_t> StormDFromMinutes(int64_t minutes) {
  if (minutes < 1) return std::nullopt;
  return CutToField(RoundedQuotient(kStormScale, 60 * minutes));
}

// 64-bit products: 65535 x 86400 does not fit 32 bits.
int64_t CloudCountOf(uint16_t cloudP) {
  return (int64_t{cloudP} * kSecondsPerDay) >> 16;
}

std::optional<int64_t> CloudSecondsOf(uint16_t cloudD) {
  if (cloudD == 0) return std::nullopt;
  return kCloudScale / cloudD;
}

int64_t StormCountOf(uint16_t stormP) {
  return (int64_t{stormP} * kSecondsPerWeek) >> 20;
}

std::optional<int64_t> StormMinutesOf(uint16_t stormD) {
  if (stormD == 0) return std::nullopt;
  return kStormMinuteScale / stormD;
}

std::string CloudRatioText(const Config& config, uint8_t activityFlags,
                           std::string_view separator) {
  return RatioText("CloudRatio", "CloudActiveNow", config.CloudP, config.CloudD,
                   WeatherRuns(config) && (activityFlags & activity::Cloud), separator);
}

std::string StormRatioText(const Config& config, uint8_t activityFlags,
                           std::string_view separator) {
  return RatioText("StormRatio", "StormActiveNow", config.StormP, config.StormD,
                   WeatherRuns(config) && (activityFlags & activity::Storm), separator);
}

std::string MoonPercentText(int64_t level, std::string_view separator) {
  // level x 100 / 4096 is exact in binary, so "0.##" rounds the true value.
  return FormatDecimal(static_cast<double>(level) * 100.0 / 4096.0, 0, 2, separator);
}

std::optional<int64_t> MoonLevelFromPercent(std::string_view text, std::string_view separator) {
  const std::optional<double> percent = ParseDecimal(text, separator);
  if (!percent) return std::nullopt;
  // Multiplying by 4096 first is exact, so a percent half way between two
  // levels stays a tie and goes to the even one.
  return RoundToInteger(*percent * 4096.0 / 100.0);
}

}  // namespace vmx
