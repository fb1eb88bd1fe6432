#include "settings/settings_key_table.h"

#include "lang/catalogue.h"
#include "link/channel_pattern.h"
#include "settings/bindings.h"

namespace vmx {
namespace {

constexpr std::string_view kRowSection = "Row";

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (FoldCase(a[i]) != FoldCase(b[i])) return false;
  return true;
}

// The field's range found through the field itself: what survives a store.
void FieldRange(const SettingsKey& key, SettingsKeyInfo& info) {
  SettingsRecords probe;
  probe.schedule.resize(1);
  key.Set(probe, -1);
  const bool isSigned = key.Get(probe) == -1;
  // Unsigned, -1 leaves every bit set; signed, the widest all-but-sign value that survives.
  int64_t top = key.Get(probe);
  if (isSigned) {
    top = 0x7F;
    for (const int64_t wider : {0x7FFFLL, 0x7FFFFFLL, 0x7FFFFFFFLL}) {
      key.Set(probe, wider);
      if (key.Get(probe) == wider) top = wider;
    }
  }
  int bits = 0;
  for (uint64_t v = static_cast<uint64_t>(top); v; v >>= 1) ++bits;
  if (isSigned) ++bits;
  info.type = (isSigned ? "s" : "u") + std::to_string(bits);
  info.maximum = top;
  info.minimum = isSigned ? -top - 1 : 0;
}

constexpr const char* kShownNames[] = {"integer",   "percent255",  "percent4096", "tenths",
                                       "tenths_short", "temperature", "moon_percent"};

void PageRules(const SettingsKey& key, SettingsKeyInfo& info) {
  if (key.InRow()) return;
  for (const Binding& b : SettingsBindings()) {
    if (b.record != key.Holder()) continue;
    const std::optional<int> channel = MatchChannel(b.field, key.Name());
    if (!channel) continue;
    info.shown = kShownNames[static_cast<size_t>(b.shown)];
    if (!b.slider.empty()) {
      info.sliderMinimum = b.minimum;
      info.sliderMaximum = b.maximum;
    }
    info.caption = ChannelName(b.edit, *channel) + ".Caption";
    break;
  }
  if (info.caption.empty()) info.caption = "edt" + key.Name() + ".Caption";
  if (!LanguageTable::Parse(BuiltInTable(Language::English)).Find("frmLantix", info.caption)) info.caption.clear();
}

std::vector<SettingsKeyInfo> Build() {
  std::vector<SettingsKeyInfo> table;
  auto add = [&](const std::string& section, const SettingsKey& key) {
    SettingsKeyInfo info;
    info.section = section;
    info.key = &key;
    FieldRange(key, info);
    PageRules(key, info);
    table.push_back(std::move(info));
  };
  for (const SettingsSection& section : SettingsSections())
    for (const SettingsKey& key : section.keys) add(section.name, key);
  for (const SettingsKey& key : RowKeys()) add(std::string(kRowSection), key);
  return table;
}

}  // namespace

const std::vector<SettingsKeyInfo>& SettingsKeyTable() {
  static const std::vector<SettingsKeyInfo> table = Build();
  return table;
}

const SettingsKeyInfo* FindSettingsKeyInfo(std::string_view section, std::string_view key) {
  for (const SettingsKeyInfo& info : SettingsKeyTable())
    if (SameName(info.section, section) && SameName(info.key->Name(), key)) return &info;
  return nullptr;
}

bool KnownSettingsSection(std::string_view section) {
  for (const SettingsSection& s : SettingsSections())
    if (SameName(s.name, section)) return true;
  return false;
}

std::optional<std::string> KeyRangeProblem(const SettingsKeyInfo& info, int64_t value) {
  if (value >= info.minimum && value <= info.maximum) return std::nullopt;
  return std::to_string(value) + " is outside " + info.key->Name() + "'s range " +
         std::to_string(info.minimum) + " to " + std::to_string(info.maximum);
}

}  // namespace vmx
