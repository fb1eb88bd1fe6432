#include "settings/record_access.h"

#include "link/request_flags.h"
#include "link/shared_store.h"

namespace vmx {
namespace {

template <class R>
std::optional<int64_t> Read(const R& record, std::string_view field) {
  const Field<R>* f = R::Fields().Find(field);
  if (!f || f->reserved) return std::nullopt;
  return f->get(record, f->index);
}

template <class R>
bool Write(R& record, std::string_view field, int64_t value) {
  const Field<R>* f = R::Fields().Find(field);
  if (!f || f->reserved) return false;
  f->set(record, f->index, value);
  return true;
}

// Calls `f` with the record `kind` names; nothing for records that have no
// single field table here (the schedule's rows, the chart, the health counters).
template <class Store, class F>
auto Visit(Store& store, RecordKind kind, F&& f) -> std::optional<decltype(f(store.info))> {
  switch (kind) {
    case RecordKind::Info:
      return f(store.info);
    case RecordKind::Config:
      return f(store.config);
    case RecordKind::Expert:
      return f(store.expert);
    case RecordKind::ExpertWeather:
      return f(store.weather);
    case RecordKind::Schedule:
    case RecordKind::Chart:
    case RecordKind::Health:
      break;
  }
  return std::nullopt;
}

}  // namespace

std::optional<int64_t> ReadField(const SharedStore& store, RecordKind record,
                                 std::string_view field) {
  return Visit(store, record, [&](const auto& r) { return Read(r, field); })
      .value_or(std::nullopt);
}

bool WriteField(SharedStore& store, RecordKind record, std::string_view field, int64_t value) {
  return Visit(store, record, [&](auto& r) { return Write(r, field, value); }).value_or(false);
}

}  // namespace vmx
