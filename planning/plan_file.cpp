#include "planning/plan_file.h"

#include <cstdio>
#include <system_error>

#include "astro/time_zone.h"
#include "persist/data_root.h"
#include "persist/ini_document.h"
#include "persist/settings_file.h"
#include "persist/settings_keys.h"
#include "persist/text_file.h"

namespace vmx {
namespace {

constexpr const char* kPlan = "Plan";
// The three row tables, each a section per row: "Target0", "Written0", ...
constexpr const char* kTables[] = {"Target", "Written", "Writing"};
// No board has more rows than its one-byte row count holds.
constexpr int64_t kMostRows = 255;

const char* StateName(AcclimationPlan::State state) {
  switch (state) {
    case AcclimationPlan::State::Paused:
      return "paused";
    case AcclimationPlan::State::Finished:
      return "finished";
    case AcclimationPlan::State::Running:
      break;
  }
  return "running";
}

std::vector<ScheduleRow>& Table(AcclimationPlan& plan, int i) {
  return i == 0 ? plan.target : i == 1 ? plan.written : plan.writing;
}

void PutRows(IniDocument& doc, const std::string& table, const std::vector<ScheduleRow>& rows) {
  SettingsRecords records;
  records.schedule = rows;
  doc.Set(kPlan, table + "Rows", std::to_string(rows.size()));
  for (size_t row = 0; row < rows.size(); ++row)
    for (const SettingsKey& key : RowKeys())
      doc.Set(table + std::to_string(row), key.Name(), std::to_string(key.Get(records, row)));
}

std::optional<int64_t> Number(const IniDocument& doc, std::string_view section,
                              std::string_view key) {
  const auto text = doc.Get(section, key);
  return text ? ParseSettingsInteger(*text) : std::nullopt;
}

bool GetRows(const IniDocument& doc, const std::string& table, std::vector<ScheduleRow>& rows) {
  const auto count = Number(doc, kPlan, table + "Rows");
  if (!count || *count < 0 || *count > kMostRows) return false;
  SettingsRecords records;
  records.schedule.resize(static_cast<size_t>(*count));
  for (size_t row = 0; row < records.schedule.size(); ++row) {
    for (const SettingsKey& key : RowKeys()) {
      const auto value = Number(doc, table + std::to_string(row), key.Name());
      if (!value) return false;
      key.Set(records, *value, row);
    }
  }
  rows = std::move(records.schedule);
  return true;
}

}  // namespace

std::filesystem::path PlanPath(const std::filesystem::path& root, const std::string& boardId) {
  return BoardFolder(root, "plans", boardId) / "acclimation.ini";
}

std::string DateText(long long day) {
  const LocalDateTime t = CivilFromDays(day);
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", t.year, t.month, t.day);
  return text;
}

std::optional<long long> ParseDate(std::string_view text) {
  if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
  int parts[3] = {0, 0, 0};
  const size_t starts[3] = {0, 5, 8}, lengths[3] = {4, 2, 2};
  for (int p = 0; p < 3; ++p) {
    for (size_t i = starts[p]; i < starts[p] + lengths[p]; ++i) {
      if (text[i] < '0' || text[i] > '9') return std::nullopt;
      parts[p] = parts[p] * 10 + (text[i] - '0');
    }
  }
  if (parts[0] < 1900 || parts[2] < 1 || parts[2] > DaysInMonth(parts[0], parts[1]))
    return std::nullopt;
  return DaysFromCivil(parts[0], parts[1], parts[2]);
}

std::string PlanText(const AcclimationPlan& plan) {
  IniDocument doc;
  doc.Set(kPlan, "Start", std::to_string(plan.startPercent));
  doc.Set(kPlan, "Days", std::to_string(plan.days));
  doc.Set(kPlan, "Channels", ChannelSetText(plan.channels));
  doc.Set(kPlan, "First", DateText(plan.firstDay));
  doc.Set(kPlan, "AppliedDay", std::to_string(plan.appliedDay));
  doc.Set(kPlan, "Saves", std::to_string(plan.saves));
  doc.Set(kPlan, "State", StateName(plan.state));
  doc.Set(kPlan, "Cancelled", plan.cancelled ? "1" : "0");
  AcclimationPlan copy = plan;
  for (int i = 0; i < 3; ++i) PutRows(doc, kTables[i], Table(copy, i));
  return doc.Text();
}

std::optional<AcclimationPlan> ParsePlan(std::string_view text) {
  const IniDocument doc = IniDocument::Parse(text);
  AcclimationPlan plan;
  const auto start = Number(doc, kPlan, "Start");
  const auto days = Number(doc, kPlan, "Days");
  const auto applied = Number(doc, kPlan, "AppliedDay");
  const auto saves = Number(doc, kPlan, "Saves");
  const auto channelsText = doc.Get(kPlan, "Channels");
  // A plain number, not an optional one: GCC 12 takes the optional's copy for
  // a read of an unset value.
  const uint16_t channels = channelsText ? ParseChannelSet(*channelsText).value_or(0) : 0;
  const auto firstText = doc.Get(kPlan, "First");
  const auto first = firstText ? ParseDate(*firstText) : std::nullopt;
  const auto state = doc.Get(kPlan, "State");
  if (!start || !days || !applied || !saves || !first || !state) return std::nullopt;
  if (!ValidPlanSettings(static_cast<int>(*start), static_cast<int>(*days), channels) ||
      *applied < -1 || *applied > *days || *saves < 0)
    return std::nullopt;
  plan.startPercent = static_cast<int>(*start);
  plan.days = static_cast<int>(*days);
  plan.channels = channels;
  plan.firstDay = *first;
  plan.appliedDay = static_cast<int>(*applied);
  plan.saves = static_cast<int>(*saves);
  if (*state == "paused")
    plan.state = AcclimationPlan::State::Paused;
  else if (*state == "finished")
    plan.state = AcclimationPlan::State::Finished;
  else if (*state != "running")
    return std::nullopt;
  plan.cancelled = Number(doc, kPlan, "Cancelled").value_or(0) != 0;
  for (int i = 0; i < 3; ++i)
    if (!GetRows(doc, kTables[i], Table(plan, i))) return std::nullopt;
  if (plan.target.empty()) return std::nullopt;
  return plan;
}

PlanLoad LoadPlan(const std::filesystem::path& root, const std::string& boardId) {
  PlanLoad load;
  if (root.empty()) return load;
  const std::string path = PlanPath(root, boardId).string();
  const FileRead read = ReadTextFile(path);
  if (read.status == FileRead::Status::Missing) return load;
  if (read.status == FileRead::Status::Failed) {
    load.error = read.error;
    return load;
  }
  load.plan = ParsePlan(read.text);
  if (!load.plan) load.error = "not an acclimation plan";
  return load;
}

std::string StorePlan(const std::filesystem::path& root, const std::string& boardId,
                      const AcclimationPlan& plan) {
  if (root.empty()) return "no folder for user data (neither XDG_DATA_HOME nor HOME is set)";
  const std::filesystem::path path = PlanPath(root, boardId);
  std::error_code ec;
  std::filesystem::create_directories(path.parent_path(), ec);
  if (ec) return ec.message();
  return ReplaceFile(path.string(), PlanText(plan));
}

}  // namespace vmx
