#include "settings/settings_diff.h"

#include "lang/catalogue.h"
#include "persist/settings_file.h"
#include "settings/shown_setting.h"

namespace vmx {
namespace {

// Sections and rows beyond this are not schedule lines any board has.
constexpr size_t kLargestRowCount = 256;

const SettingsKey& SectionKey(size_t flat, const SettingsSection*& section) {
  for (const SettingsSection& s : SettingsSections()) {
    if (flat < s.keys.size()) {
      section = &s;
      return s.keys[flat];
    }
    flat -= s.keys.size();
  }
  throw std::out_of_range("settings key index");
}

size_t KeyCount() {
  size_t n = 0;
  for (const SettingsSection& s : SettingsSections()) n += s.keys.size();
  return n;
}

std::optional<int64_t> At(const std::vector<std::optional<int64_t>>& values, size_t i) {
  return i < values.size() ? values[i] : std::nullopt;
}

// Both sides are shown in the first side's unit and colour names (the
// second's where the first lacks them), so equal words mean equal values.
ShowContext ContextOf(const SettingsValues& first, const SettingsValues& second,
                      const std::string& separator) {
  ShowContext context;
  context.separator = separator;
  size_t flat = 0;
  for (const SettingsSection& s : SettingsSections())
    for (const SettingsKey& key : s.keys) {
      const std::optional<int64_t> v = At(first.keys, flat).has_value() ? At(first.keys, flat)
                                                                          : At(second.keys, flat);
      ++flat;
      if (!v) continue;
      if (s.name == "Config" && key.Name() == "Flag") context.configFlag = static_cast<uint8_t>(*v);
      if (s.name == "Names")
        context.colorNames[static_cast<size_t>(std::stoi(key.Name().substr(9)))] =
            static_cast<uint8_t>(*v);
    }
  return context;
}

ScheduleRow RowOf(const std::vector<std::optional<int64_t>>& values) {
  SettingsRecords records;
  records.schedule.resize(1);
  for (size_t k = 0; k < RowKeys().size(); ++k)
    RowKeys()[k].Set(records, At(values, k).value_or(0), 0);
  return records.schedule[0];
}

}  // namespace

SettingsValues ValuesOfRecords(const SettingsRecords& records) {
  SettingsValues values;
  for (const SettingsSection& s : SettingsSections())
    for (const SettingsKey& key : s.keys) values.keys.push_back(key.Get(records));
  values.rows.resize(records.schedule.size());
  for (size_t row = 0; row < records.schedule.size(); ++row)
    for (const SettingsKey& key : RowKeys()) values.rows[row].push_back(key.Get(records, row));
  return values;
}

SettingsValues ValuesOfFile(const IniDocument& doc) {
  SettingsValues values;
  auto value = [&](const std::string& section, const SettingsKey& key) -> std::optional<int64_t> {
    const std::optional<std::string_view> text = doc.Get(section, key.Name());
    if (!text) return std::nullopt;
    const std::optional<int64_t> v = ParseSettingsInteger(*text);
    if (!v) return std::nullopt;
    // As an import would store it: cut to the field's width.
    SettingsRecords cut;
    cut.schedule.resize(1);
    key.Set(cut, *v, 0);
    return key.Get(cut, 0);
  };
  for (const SettingsSection& s : SettingsSections())
    for (const SettingsKey& key : s.keys) values.keys.push_back(value(s.name, key));
  size_t rows = 0;
  for (size_t row = 0; row < kLargestRowCount; ++row)
    if (doc.HasSection(RowSectionName(row))) rows = row + 1;
  values.rows.resize(rows);
  for (size_t row = 0; row < rows; ++row)
    for (const SettingsKey& key : RowKeys())
      values.rows[row].push_back(value(RowSectionName(row), key));
  return values;
}

SettingsDiff DiffSettings(const SettingsValues& a, const SettingsValues& b,
                          const DiffOptions& options) {
  SettingsDiff diff;
  const std::string missing = LangText("SettingMissing");
  const ShowContext aContext = ContextOf(a, b, options.separator);
  for (size_t flat = 0, n = KeyCount(); flat < n; ++flat) {
    const std::optional<int64_t> va = At(a.keys, flat), vb = At(b.keys, flat);
    if (va == vb) continue;
    const SettingsSection* section = nullptr;
    const SettingsKey& key = SectionKey(flat, section);
    SettingsDifference d{section->name, key.Name(), va, vb, missing, missing, {}};
    if (va) d.aShown = ShowSectionValue(section->name, key.Name(), *va, aContext).text;
    if (vb) d.bShown = ShowSectionValue(section->name, key.Name(), *vb, aContext).text;
    d.caption = ShowSectionValue(section->name, key.Name(), va.value_or(vb.value_or(0)), aContext)
                    .caption;
    diff.differences.push_back(std::move(d));
  }
  const size_t rows = std::max(a.rows.size(), b.rows.size());
  static const std::vector<std::optional<int64_t>> kNoRow;
  // A row key's caption is the same on every line: looked up once.
  std::vector<std::string> captions;
  for (const SettingsKey& key : RowKeys())
    captions.push_back(RowCaption(key.Name(), aContext));
  const std::string linePattern = LangText("ScheduleLine");
  for (size_t row = 0; row < rows; ++row) {
    const auto& ra = row < a.rows.size() ? a.rows[row] : kNoRow;
    const auto& rb = row < b.rows.size() ? b.rows[row] : kNoRow;
    if (ra == rb) continue;
    const ScheduleRow rowA = RowOf(ra), rowB = RowOf(rb);
    const bool beyond = options.rowCount && row >= *options.rowCount;
    const std::string line = FormatText(linePattern, {RowSectionName(row)}) + ": ";
    for (size_t k = 0; k < RowKeys().size(); ++k) {
      const std::optional<int64_t> va = At(ra, k), vb = At(rb, k);
      if (va == vb) continue;
      const std::string& name = RowKeys()[k].Name();
      SettingsDifference d{RowSectionName(row), name, va, vb, missing, missing, {}};
      if (va) d.aShown = RowValueText(name, rowA, aContext);
      if (vb) d.bShown = RowValueText(name, rowB, aContext);
      d.caption = line + captions[k];
      (beyond ? diff.beyondRows : diff.differences).push_back(std::move(d));
    }
  }
  return diff;
}

}  // namespace vmx
