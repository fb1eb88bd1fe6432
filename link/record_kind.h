// The board's records by kind: what a hand-off brings to the pages, what a
// settings key or a control is held in, what a read-back fetches again.
#pragma once

#include <cstdint>

namespace vmx {

enum class RecordKind : uint8_t { Info, Config, Expert, ExpertWeather, Schedule, Chart, Health };

constexpr int kRecordKinds = 7;

// The name a record goes by in the log and the settings file's sections.
constexpr const char* RecordName(RecordKind kind) {
  switch (kind) {
    case RecordKind::Info:
      return "Info";
    case RecordKind::Config:
      return "Config";
    case RecordKind::Expert:
      return "Expert";
    case RecordKind::ExpertWeather:
      return "Weather";
    case RecordKind::Schedule:
      return "Schedule";
    case RecordKind::Chart:
      return "Chart";
    case RecordKind::Health:
      break;
  }
  return "Health";
}

// The records whose fields the settings file keeps (the keeper's settings);
// the others report the board's state.
constexpr bool HoldsSettings(RecordKind kind) {
  return kind == RecordKind::Config || kind == RecordKind::Expert ||
         kind == RecordKind::ExpertWeather || kind == RecordKind::Schedule;
}

}  // namespace vmx
