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

// Calls `f` with the record `kind` names.
template <class Store, class F>
auto Visit(Store& store, RecordKind kind, F&& f) {
  switch (kind) {
    case RecordKind::Info:
      return f(store.info);
    case RecordKind::Config:
      return f(store.config);
    case RecordKind::Expert:
      return f(store.expert);
    case RecordKind::ExpertWeather:
      break;
  }
  return f(store.weather);
}

}  // namespace

std::optional<int64_t> ReadField(const SharedStore& store, RecordKind record,
                                 std::string_view field) {
  return Visit(store, record, [&](const auto& r) { return Read(r, field); });
}

bool WriteField(SharedStore& store, RecordKind record, std::string_view field, int64_t value) {
  return Visit(store, record, [&](auto& r) { return Write(r, field, value); });
}

uint32_t WriteBitOf(RecordKind record) {
  switch (record) {
    case RecordKind::Info:
      return request::WriteInfoChannels;
    case RecordKind::Config:
      return request::WriteConfig;
    case RecordKind::Expert:
      return request::WriteExpert;
    case RecordKind::ExpertWeather:
      break;
  }
  return request::WriteWeather;
}

}  // namespace vmx
