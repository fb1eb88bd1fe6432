#include "link/records.h"

#include <type_traits>

namespace vmx {
namespace {

// Field types of the list macros, as FieldType values.
constexpr FieldType kType_u8 = FieldType::U8;
constexpr FieldType kType_s8 = FieldType::S8;
constexpr FieldType kType_u16 = FieldType::U16;
constexpr FieldType kType_s16 = FieldType::S16;
constexpr FieldType kType_u24 = FieldType::U24;
constexpr FieldType kType_u32 = FieldType::U32;

// Cuts to the field's width: conversion to the member's type keeps the low bits,
// and a 24-bit counter keeps 24 of its 32.
template <class T>
T Cut(int64_t v, FieldType type) {
  if (type == FieldType::U24) v &= 0xFFFFFF;
  return static_cast<T>(v);
}

}  // namespace

#define VMX_ADD_FIELD(t, name, off)                                                       \
  table.Add({#name, off, kType_##t, FieldWidth(kType_##t), 0, false,                     \
             [](const R& r, int) -> int64_t { return r.name; },                          \
             [](R& r, int, int64_t v) { r.name = Cut<decltype(R::name)>(v, kType_##t); }});
#define VMX_ADD_ARRAY(t, name, off, n)                                                    \
  for (int i = 0; i < (n); ++i)                                                          \
    table.Add({#name + std::to_string(i), static_cast<uint16_t>((off) + i * FieldWidth(kType_##t)), \
               kType_##t, FieldWidth(kType_##t), i, false,                               \
               [](const R& r, int k) -> int64_t { return r.name[k]; },                   \
               [](R& r, int k, int64_t v) {                                              \
                 r.name[k] = Cut<typename decltype(R::name)::value_type>(v, kType_##t);  \
               }});
#define VMX_ADD_RESERVED(name, off, n)                                                    \
  for (int i = 0; i < (n); ++i)                                                          \
    table.Add({"Reserved" + std::to_string((off) + i), static_cast<uint16_t>((off) + i),  \
               FieldType::U8, 1, i, true, [](const R& r, int k) -> int64_t { return r.name[k]; }, \
               [](R& r, int k, int64_t v) { r.name[k] = static_cast<uint8_t>(v); }});
#define VMX_DEFINE_TABLE(Type, FIELDS)                                  \
  const FieldTable<Type>& Type::Fields() {                              \
    static const FieldTable<Type> instance = [] {                       \
      using R = Type;                                                   \
      FieldTable<R> table;                                              \
      FIELDS(VMX_ADD_FIELD, VMX_ADD_ARRAY, VMX_ADD_RESERVED)            \
      return table;                                                     \
    }();                                                                \
    return instance;                                                    \
  }

VMX_DEFINE_TABLE(DeviceIdent, VMX_DEVICE_IDENT_FIELDS)
VMX_DEFINE_TABLE(Info, VMX_INFO_FIELDS)
VMX_DEFINE_TABLE(Config, VMX_CONFIG_FIELDS)
VMX_DEFINE_TABLE(ScheduleRow, VMX_SCHEDULE_ROW_FIELDS)
VMX_DEFINE_TABLE(Expert, VMX_EXPERT_FIELDS)
VMX_DEFINE_TABLE(ExpertWeather, VMX_EXPERT_WEATHER_FIELDS)
VMX_DEFINE_TABLE(Chart, VMX_CHART_FIELDS)
VMX_DEFINE_TABLE(Health, VMX_HEALTH_FIELDS)
VMX_DEFINE_TABLE(BootInfo, VMX_BOOT_INFO_FIELDS)

Chart EmptyChart() {
  Chart c;
  c.Sample.fill(kEmptySample);
  return c;
}

}  // namespace vmx
