// The keys of a settings file, per section, in the order a new file has
// them. Each key is the name of the record field it holds; the table below
// says which record that is and where in the file it goes. Export and both
// imports are driven by this one table.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "link/record_kind.h"
#include "link/records.h"

namespace vmx {

// The records a settings file holds, as one value: the sections come from
// Config, Expert and ExpertWeather, the row sections from the schedule.
struct SettingsRecords {
  Config config;
  Expert expert;
  ExpertWeather weather;
  std::vector<ScheduleRow> schedule;
  bool operator==(const SettingsRecords&) const = default;
};

// One key and the field that holds its value.
class SettingsKey {
 public:
  using FieldRef = std::variant<const Field<Config>*, const Field<Expert>*,
                                const Field<ExpertWeather>*, const Field<ScheduleRow>*>;
  SettingsKey(std::string name, FieldRef field) : name_(std::move(name)), field_(field) {}

  const std::string& Name() const { return name_; }
  // The record that holds the key's field: Config, Expert, ExpertWeather or
  // a row of the Schedule.
  RecordKind Holder() const;
  bool InRow() const { return Holder() == RecordKind::Schedule; }
  // The field's value, signed where the field is. `row` picks the schedule row
  // of a row key and must lie within the schedule.
  int64_t Get(const SettingsRecords& records, size_t row = 0) const;
  // Stores `value` cut to the field's width.
  void Set(SettingsRecords& records, int64_t value, size_t row = 0) const;

 private:
  std::string name_;
  FieldRef field_;
};

struct SettingsSection {
  std::string name;
  std::vector<SettingsKey> keys;
};

// [Config], [Weather], [Names], [RC5], [TimeZone], in file order.
const std::vector<SettingsSection>& SettingsSections();
// The keys of every row section ([0], [1], ...).
const std::vector<SettingsKey>& RowKeys();
// The section of schedule row `row`: its index in decimal.
std::string RowSectionName(size_t row);

}  // namespace vmx
