#include "tests/soak/edit_model.h"

#include <algorithm>

#include "link/request_flags.h"

namespace vmx::soak {
namespace {

template <class R>
int64_t FieldValue(const R& record, int row) {
  const auto& f = R::Fields().Rows()[row];
  return f.get(record, f.index);
}

// Any value the field's type holds: the board keeps whatever it is sent.
int64_t AnyValue(FieldType type, std::mt19937& rng) {
  switch (type) {
    case FieldType::U8:
      return std::uniform_int_distribution<int64_t>(0, 0xFF)(rng);
    case FieldType::S8:
      return std::uniform_int_distribution<int64_t>(-128, 127)(rng);
    case FieldType::U16:
      return std::uniform_int_distribution<int64_t>(0, 0xFFFF)(rng);
    case FieldType::S16:
      return std::uniform_int_distribution<int64_t>(-32768, 32767)(rng);
    case FieldType::U24:
      return std::uniform_int_distribution<int64_t>(0, 0xFFFFFF)(rng);
    case FieldType::U32:
      break;
  }
  return std::uniform_int_distribution<int64_t>(0, 0xFFFFFFFF)(rng);
}

// Table rows a page can change: everything but the reserved bytes, and for
// Config not the mode, which the board changes itself when a channel is set.
template <class R>
std::vector<int> EditableRows(bool skipMode = false) {
  std::vector<int> rows;
  const auto& all = R::Fields().Rows();
  for (int i = 0; i < static_cast<int>(all.size()); ++i)
    if (!all[i].reserved && !(skipMode && all[i].name == "Mode")) rows.push_back(i);
  return rows;
}

int Pick(const std::vector<int>& rows, std::mt19937& rng) {
  return rows[std::uniform_int_distribution<size_t>(0, rows.size() - 1)(rng)];
}

template <class R>
std::string FieldName(int row) {
  return R::Fields().Rows()[row].name;
}

}  // namespace

const char* KindName(EditModel::Kind kind) {
  static constexpr const char* kNames[] = {"channels", "config", "expert", "weather",
                                           "schedule", "clock",  "action"};
  return kNames[kind];
}

Records PcRecords(const SharedStore& store) {
  Records r;
  r.channels = store.info.Channel;
  r.config = store.config;
  r.expert = store.expert;
  r.weather = store.weather;
  r.schedule = store.schedule;
  return r;
}

std::string FirstDifference(const Records& pc, const Records& board) {
  for (int c = 0; c < kChannels; ++c)
    if (pc.channels[c] != board.channels[c]) return "Channel" + std::to_string(c);
  auto first = [](const auto& a, const auto& b, const char* record) -> std::string {
    using R = std::decay_t<decltype(a)>;
    for (const auto& f : R::Fields().Rows())
      if (f.get(a, f.index) != f.get(b, f.index))
        return std::string(record) + "." + f.name + " PC " + std::to_string(f.get(a, f.index)) +
               " board " + std::to_string(f.get(b, f.index));
    return {};
  };
  if (auto d = first(pc.config, board.config, "Config"); !d.empty()) return d;
  if (auto d = first(pc.expert, board.expert, "Expert"); !d.empty()) return d;
  if (auto d = first(pc.weather, board.weather, "ExpertWeather"); !d.empty()) return d;
  if (pc.schedule.size() != board.schedule.size())
    return "schedule of " + std::to_string(pc.schedule.size()) + " rows, board " +
           std::to_string(board.schedule.size());
  for (size_t i = 0; i < pc.schedule.size(); ++i)
    if (auto d = first(pc.schedule[i], board.schedule[i], "Row"); !d.empty())
      return d + " (row " + std::to_string(i) + ")";
  return {};
}

EditModel::Kind EditModel::EditOnce(SharedStore& store, std::mt19937& rng, uint64_t resets) {
  static const std::vector<int> configRows = EditableRows<vmx::Config>(true);
  static const std::vector<int> expertRows = EditableRows<vmx::Expert>();
  static const std::vector<int> weatherRows = EditableRows<ExpertWeather>();
  static const std::vector<int> rowRows = EditableRows<ScheduleRow>();
  // Weights: settings pages and the schedule most, clock and board actions seldom.
  static constexpr int kWeights[KindCount] = {20, 20, 20, 20, 30, 2, 3};
  std::discrete_distribution<int> kinds(std::begin(kWeights), std::end(kWeights));
  const auto kind = static_cast<Kind>(kinds(rng));

  auto edit = [&](auto& record, int row, int index, int64_t value) {
    using R = std::decay_t<decltype(record)>;
    const auto& f = R::Fields().Rows()[row];
    f.set(record, f.index, value);
    intents_[{kind, index, row}] = {FieldValue(record, row), resets};
  };

  switch (kind) {
    case Channels: {
      const int c = std::uniform_int_distribution<int>(0, kChannels - 1)(rng);
      const int row = static_cast<int>(Info::Fields().Find("Channel" + std::to_string(c)) -
                                       Info::Fields().Rows().data());
      edit(store.info, row, 0, std::uniform_int_distribution<int>(0, 4096)(rng));
      store.Raise(request::WriteInfoChannels);
      break;
    }
    case Config:
      edit(store.config, Pick(configRows, rng), 0, AnyValue(FieldType::U16, rng));
      store.Raise(request::WriteConfig);
      break;
    case Expert:
      edit(store.expert, Pick(expertRows, rng), 0, AnyValue(FieldType::U16, rng));
      store.Raise(request::WriteExpert);
      break;
    case Weather:
      edit(store.weather, Pick(weatherRows, rng), 0, AnyValue(FieldType::U16, rng));
      store.Raise(request::WriteWeather);
      break;
    case Row: {
      if (store.schedule.empty()) break;
      const int i =
          std::uniform_int_distribution<int>(0, static_cast<int>(store.schedule.size()) - 1)(rng);
      const int fields = std::uniform_int_distribution<int>(1, 3)(rng);
      for (int k = 0; k < fields; ++k)
        edit(store.schedule[i], Pick(rowRows, rng), i, AnyValue(FieldType::U16, rng));
      store.MarkRows(static_cast<size_t>(i), 1, request::WriteSchedule);
      break;
    }
    case Clock:
      store.info.Year = static_cast<int8_t>(std::uniform_int_distribution<int>(20, 40)(rng));
      store.info.Month = static_cast<int8_t>(std::uniform_int_distribution<int>(1, 12)(rng));
      store.info.Day = static_cast<int8_t>(std::uniform_int_distribution<int>(1, 28)(rng));
      store.info.Hour = static_cast<int8_t>(std::uniform_int_distribution<int>(0, 23)(rng));
      store.info.Minute = static_cast<int8_t>(std::uniform_int_distribution<int>(0, 59)(rng));
      store.Raise(request::WriteInfoTime);
      break;
    case Action: {
      static constexpr uint32_t kActions[] = {request::ReadChart,   request::ReadHealth,
                                              request::SaveEEPROM,  request::ToggleCloud,
                                              request::ToggleStorm, request::ReadAllSet};
      store.Raise(kActions[std::uniform_int_distribution<size_t>(0, std::size(kActions) - 1)(rng)]);
      break;
    }
    case KindCount:
      break;
  }
  return kind;
}

EditModel::Verdict EditModel::Judge(const Records& board, uint64_t resetsNow) {
  Verdict v;
  for (const auto& [key, intent] : intents_) {
    const auto [kind, index, row] = key;
    int64_t held = 0;
    std::string name;
    switch (kind) {
      case Channels:
        held = FieldValue(Info{.Channel = board.channels}, row);
        name = FieldName<Info>(row);
        break;
      case Config:
        held = FieldValue(board.config, row);
        name = "Config." + FieldName<vmx::Config>(row);
        break;
      case Expert:
        held = FieldValue(board.expert, row);
        name = "Expert." + FieldName<vmx::Expert>(row);
        break;
      case Weather:
        held = FieldValue(board.weather, row);
        name = "ExpertWeather." + FieldName<ExpertWeather>(row);
        break;
      case Row:
        if (index >= static_cast<int>(board.schedule.size())) continue;
        held = FieldValue(board.schedule[index], row);
        name = "Row" + std::to_string(index) + "." + FieldName<ScheduleRow>(row);
        break;
      default:
        continue;
    }
    if (held == intent.value) {
      ++v.kept;
    } else if (resetsNow > intent.resets) {
      ++v.reverted;
    } else {
      ++v.lost;
      v.lostFields.push_back(name + " edited " + std::to_string(intent.value) + ", board " +
                             std::to_string(held));
    }
  }
  intents_.clear();
  return v;
}

}  // namespace vmx::soak
