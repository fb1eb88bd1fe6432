#include "persist/settings_keys.h"

#include <iterator>
#include <stdexcept>

#include "link/channel_pattern.h"

namespace vmx {
namespace {

enum class From { Config, Expert, Weather, Row };

// One row of a section's key list. "#" at the end stands for the channel
// number 0..11; neighbouring per-channel rows are written channel by channel
// (Balance0, MoonColor160, ..., Balance1, MoonColor161, ...).
struct KeyRow {
  std::string_view field;
  From from;
};

// clang-format off
constexpr KeyRow kConfigKeys[] = {
    {"Mode", From::Config}, {"Flag", From::Config}, {"FanLow", From::Config},
    {"FanHigh", From::Config}, {"FanOff", From::Expert}, {"FanMode", From::Expert},
    {"TempWaterLow", From::Expert}, {"TempWaterHigh", From::Expert},
    {"LCDBLMin", From::Config}, {"LCDBLMax", From::Config}, {"TimeLapse", From::Config},
    {"Lat", From::Config}, {"Lon", From::Config}, {"JMPMode", From::Expert},
    {"TempCoolLow", From::Expert}, {"TempCoolHigh", From::Expert},
    {"TempHeatLow", From::Expert}, {"TempHeatHigh", From::Expert},
    {"ChartMode", From::Expert}, {"ChartInterval", From::Expert}, {"ChartScale", From::Expert},
    {"PWMPrescaler", From::Expert}, {"TWIBitrate", From::Expert}, {"RandomInit", From::Expert},
    {"LCDBLNight", From::Expert}, {"Language", From::Expert}, {"TempOffset", From::Expert},
    {"CloudTempWater", From::Expert}, {"CloudTempBoard", From::Expert},
    {"BalanceSumRamp", From::Expert},
};
constexpr KeyRow kWeatherKeys[] = {
    {"CloudP", From::Config}, {"CloudD", From::Config}, {"StormP", From::Config},
    {"StormD", From::Config}, {"CloudStep", From::Weather}, {"StormStep", From::Weather},
    {"CloudAlpha", From::Weather}, {"StormAlpha", From::Weather}, {"LightningP", From::Weather},
    {"Balance#", From::Weather}, {"MoonColor16#", From::Weather},
    {"WeatherDelay#", From::Weather}, {"LightningMask#", From::Weather},
    {"BalanceSum", From::Weather},
};
constexpr KeyRow kNamesKeys[] = {{"ColorName#", From::Config}};
constexpr KeyRow kRc5Keys[] = {
    {"Up", From::Expert}, {"Down", From::Expert}, {"Left", From::Expert},
    {"Right", From::Expert}, {"Previous", From::Expert}, {"Next", From::Expert},
    {"Settings", From::Expert}, {"Step", From::Expert},
};
constexpr KeyRow kTimeZoneKeys[] = {
    {"StandardMonth", From::Expert}, {"StandardDay", From::Expert},
    {"StandardHour", From::Expert}, {"StandardDayOfWeek", From::Expert},
    {"DaylightMonth", From::Expert}, {"DaylightDay", From::Expert},
    {"DaylightHour", From::Expert}, {"DaylightDayOfWeek", From::Expert},
    {"Bias", From::Expert},
};
constexpr KeyRow kRowKeys[] = {
    {"Hour", From::Row}, {"Minute", From::Row}, {"Alt", From::Row}, {"Color16#", From::Row},
    {"Timer", From::Row}, {"Switch", From::Row},
};
// clang-format on

template <class R>
const Field<R>* FieldOf(const std::string& name) {
  const Field<R>* f = R::Fields().Find(name);
  // The table names fields of the record layouts; a name that is not there is
  // a fault in this file, found by the first test that runs.
  if (!f || f->reserved) throw std::logic_error("no settings field " + name);
  return f;
}

SettingsKey Resolve(const std::string& name, From from) {
  switch (from) {
    case From::Config:
      return {name, FieldOf<Config>(name)};
    case From::Expert:
      return {name, FieldOf<Expert>(name)};
    case From::Weather:
      return {name, FieldOf<ExpertWeather>(name)};
    case From::Row:
      break;
  }
  return {name, FieldOf<ScheduleRow>(name)};
}


std::vector<SettingsKey> Expand(std::span<const KeyRow> rows) {
  std::vector<SettingsKey> keys;
  for (size_t i = 0; i < rows.size();) {
    if (!PerChannel(rows[i].field)) {
      keys.push_back(Resolve(std::string(rows[i].field), rows[i].from));
      ++i;
      continue;
    }
    size_t end = i;
    while (end < rows.size() && PerChannel(rows[end].field)) ++end;
    for (int channel = 0; channel < kChannels; ++channel)
      for (size_t k = i; k < end; ++k) {
        keys.push_back(Resolve(ChannelName(rows[k].field, channel), rows[k].from));
      }
    i = end;
  }
  return keys;
}

// The record a field lives in, chosen by the field's type.
template <class Records>
auto& In(Records& r, const Field<Config>*, size_t) {
  return r.config;
}
template <class Records>
auto& In(Records& r, const Field<Expert>*, size_t) {
  return r.expert;
}
template <class Records>
auto& In(Records& r, const Field<ExpertWeather>*, size_t) {
  return r.weather;
}
template <class Records>
auto& In(Records& r, const Field<ScheduleRow>*, size_t row) {
  return r.schedule.at(row);
}

}  // namespace

RecordKind SettingsKey::Holder() const {
  // In the order of FieldRef.
  constexpr RecordKind kHolders[] = {RecordKind::Config, RecordKind::Expert,
                                     RecordKind::ExpertWeather, RecordKind::Schedule};
  static_assert(std::size(kHolders) == std::variant_size_v<FieldRef>);
  return kHolders[field_.index()];
}

int64_t SettingsKey::Get(const SettingsRecords& records, size_t row) const {
  return std::visit([&](const auto* f) { return f->get(In(records, f, row), f->index); }, field_);
}

void SettingsKey::Set(SettingsRecords& records, int64_t value, size_t row) const {
  std::visit([&](const auto* f) { f->set(In(records, f, row), f->index, value); }, field_);
}

const std::vector<SettingsSection>& SettingsSections() {
  static const std::vector<SettingsSection> sections = {
      {"Config", Expand(kConfigKeys)},     {"Weather", Expand(kWeatherKeys)},
      {"Names", Expand(kNamesKeys)},       {"RC5", Expand(kRc5Keys)},
      {"TimeZone", Expand(kTimeZoneKeys)},
  };
  return sections;
}

const std::vector<SettingsKey>& RowKeys() {
  static const std::vector<SettingsKey> keys = Expand(kRowKeys);
  return keys;
}

std::string RowSectionName(size_t row) {
  return std::to_string(row);
}

}  // namespace vmx
