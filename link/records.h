// The board's records. Each record's field list below is the single place its
// fields are named: it declares the members and, in records.cpp, the field
// table from which the wire image and the settings-file keys are derived.
//
// F(type, name, offset)          one field
// A(type, name, offset, count)   per-channel array, keys name0 .. name<count-1>
// R(name, offset, count)         reserved bytes: kept as received, sent back unchanged
#pragma once

#include <array>
#include <cstdint>

#include "link/field_table.h"

namespace vmx {

using vmx_u8 = uint8_t;
using vmx_s8 = int8_t;
using vmx_u16 = uint16_t;
using vmx_s16 = int16_t;
using vmx_u24 = uint32_t;
using vmx_u32 = uint32_t;

#define VMX_DEVICE_IDENT_FIELDS(F, A, R) \
  F(u8, DeviceType, 0)                   \
  F(u8, FirmwareVersion, 1)

#define VMX_INFO_FIELDS(F, A, R) \
  F(u8, RowCount, 0)             \
  F(u8, ActivityFlags, 1)        \
  F(u8, ErrorFlags, 2)           \
  F(u8, StatusFlags, 3)          \
  F(s8, ActiveRow, 4)            \
  F(u8, Centisecond, 5)          \
  F(s8, Second, 6)               \
  F(s8, Minute, 7)               \
  F(s8, Hour, 8)                 \
  F(s8, Day, 9)                  \
  F(s8, Month, 10)               \
  F(s8, Year, 11)                \
  R(Reserved12, 12, 5)           \
  A(s16, Channel, 17, 12)        \
  R(Reserved41, 41, 3)           \
  F(u16, InputVoltage, 44)       \
  F(s16, TempWater, 46)          \
  F(s16, TempBoard, 48)          \
  F(s16, TempSlave, 50)

#define VMX_CONFIG_FIELDS(F, A, R) \
  F(u8, Mode, 0)                   \
  F(u8, Flag, 1)                   \
  F(u8, FanLow, 2)                 \
  F(u8, FanHigh, 3)                \
  F(u8, LCDBLMin, 4)               \
  F(u8, LCDBLMax, 5)               \
  F(u8, TimeLapse, 6)              \
  A(u8, ColorName, 7, 12)          \
  F(u16, CloudP, 19)               \
  F(u16, CloudD, 21)               \
  F(u16, StormP, 23)               \
  F(u16, StormD, 25)               \
  F(s16, Lat, 27)                  \
  F(s16, Lon, 29)

#define VMX_SCHEDULE_ROW_FIELDS(F, A, R) \
  F(s8, Hour, 0)                         \
  F(s8, Minute, 1)                       \
  F(s16, Alt, 2)                         \
  A(s16, Color16, 4, 12)                 \
  F(s16, Timer, 28)                      \
  F(u8, Switch, 30)

#define VMX_EXPERT_FIELDS(F, A, R) \
  F(u8, FanMode, 0)                \
  F(u8, JMPMode, 1)                \
  F(u8, ChartMode, 2)              \
  F(u8, PWMPrescaler, 3)           \
  F(u8, TWIBitrate, 4)             \
  F(u8, RC433Systems, 5)           \
  F(u8, RandomInit, 6)             \
  F(u8, FanOff, 7)                 \
  F(u8, LCDBLNight, 8)             \
  F(u8, Language, 9)               \
  F(u8, ChartScale, 10)            \
  F(s8, TempOffset, 11)            \
  F(s8, BalanceSumRamp, 12)        \
  F(s16, TempWaterLow, 13)         \
  F(s16, TempWaterHigh, 15)        \
  F(s16, TempCoolLow, 17)          \
  F(s16, TempCoolHigh, 19)         \
  F(s16, TempHeatLow, 21)          \
  F(s16, TempHeatHigh, 23)         \
  F(s16, CloudTempWater, 25)       \
  F(s16, CloudTempBoard, 27)       \
  F(u16, ChartInterval, 29)        \
  F(s8, StandardMonth, 31)         \
  F(s8, StandardDay, 32)           \
  F(s8, StandardHour, 33)          \
  F(s8, StandardDayOfWeek, 34)     \
  F(s8, DaylightMonth, 35)         \
  F(s8, DaylightDay, 36)           \
  F(s8, DaylightHour, 37)          \
  F(s8, DaylightDayOfWeek, 38)     \
  F(s16, Bias, 39)                 \
  F(u16, Up, 41)                   \
  F(u16, Down, 43)                 \
  F(u16, Left, 45)                 \
  F(u16, Right, 47)                \
  F(u16, Previous, 49)             \
  F(u16, Next, 51)                 \
  F(u16, Settings, 53)             \
  F(u16, Step, 55)

#define VMX_EXPERT_WEATHER_FIELDS(F, A, R) \
  F(u16, CloudStep, 0)                     \
  F(u16, StormStep, 2)                     \
  F(u16, LightningP, 4)                    \
  F(u8, CloudAlpha, 6)                     \
  F(u8, StormAlpha, 7)                     \
  F(u8, BalanceSum, 8)                     \
  A(u8, Balance, 9, 12)                    \
  A(u8, MoonColor16, 21, 12)               \
  A(u8, LightningMask, 33, 12)             \
  A(u8, WeatherDelay, 45, 12)

// Sample 0 is the newest, sample 39 the oldest; 0x7FFF marks an empty slot.
#define VMX_CHART_FIELDS(F, A, R) A(s16, Sample, 0, 40)

// Counter 0..8 count 15-second intervals: board temperature above 60, 55, 50,
// 45 and below 45 degC, then input voltage above 30.5, 29.0, 26.0 and below 26.0 V.
#define VMX_HEALTH_FIELDS(F, A, R) \
  A(u24, Counter, 0, 9)            \
  F(u16, PowerCycles, 27)

#define VMX_BOOT_INFO_FIELDS(F, A, R) \
  F(u16, PageSize, 0)                 \
  F(u32, FlashSize, 2)

#define VMX_DECLARE_FIELD(t, name, off) vmx_##t name{};
#define VMX_DECLARE_ARRAY(t, name, off, n) std::array<vmx_##t, n> name{};
#define VMX_DECLARE_RESERVED(name, off, n) std::array<uint8_t, n> name{};
#define VMX_RECORD(Type, size, FIELDS)                                            \
  struct Type {                                                                   \
    static constexpr size_t Size = size;                                          \
    FIELDS(VMX_DECLARE_FIELD, VMX_DECLARE_ARRAY, VMX_DECLARE_RESERVED)            \
    static const FieldTable<Type>& Fields();                                      \
    bool operator==(const Type&) const = default;                                 \
  };

VMX_RECORD(DeviceIdent, 2, VMX_DEVICE_IDENT_FIELDS)
VMX_RECORD(Info, 52, VMX_INFO_FIELDS)
VMX_RECORD(Config, 31, VMX_CONFIG_FIELDS)
VMX_RECORD(ScheduleRow, 31, VMX_SCHEDULE_ROW_FIELDS)
VMX_RECORD(Expert, 57, VMX_EXPERT_FIELDS)
VMX_RECORD(ExpertWeather, 57, VMX_EXPERT_WEATHER_FIELDS)
VMX_RECORD(Chart, 80, VMX_CHART_FIELDS)
VMX_RECORD(Health, 29, VMX_HEALTH_FIELDS)
VMX_RECORD(BootInfo, 6, VMX_BOOT_INFO_FIELDS)

#undef VMX_RECORD
#undef VMX_DECLARE_FIELD
#undef VMX_DECLARE_ARRAY
#undef VMX_DECLARE_RESERVED

// Bit values of the record fields the PC interprets.
namespace activity {
constexpr uint8_t Cloud = 0x01, Storm = 0x02, Cooler = 0x04, Heater = 0x08, JmpTimer = 0x20;
}
namespace error_flag {
constexpr uint8_t Overtemperature = 0x01, Undervoltage = 0x02, QuarzError = 0x04,
                  CRCError = 0x08, RAMFull = 0x10, TempBoardError = 0x20, RTCError = 0x40,
                  PWMError = 0x80;
}
namespace status_flag {
constexpr uint8_t Saving = 0x10;
}
// Config's Mode: what drives the channels. The field is a byte from the
// board; ModeOf reads it (a value past Flash stays a value of its own).
enum class BoardMode : uint8_t { Manual, Auto, Geo, RgbDemo, Flash };
constexpr BoardMode ModeOf(uint8_t modeField) {
  return static_cast<BoardMode>(modeField);
}
constexpr uint8_t ModeField(BoardMode mode) {
  return static_cast<uint8_t>(mode);
}
// Auto and Geo run the schedule, with its clouds and thunderstorms.
constexpr bool RunsSchedule(BoardMode mode) {
  return mode == BoardMode::Auto || mode == BoardMode::Geo;
}

namespace config_flag {
constexpr uint8_t BigStep = 0x01, Display20x4 = 0x02, Fahrenheit = 0x04, Clock12h = 0x08;
}
namespace switch_flag {
constexpr uint8_t DisplayOn = 0x20, Clouds = 0x40, Storms = 0x80;
}

constexpr int kChannels = 12;
constexpr int16_t kNoTemperature = 0x7FFF;
constexpr int16_t kEmptySample = 0x7FFF;
constexpr uint8_t kThisBoard = 5;
constexpr uint8_t kThisBootloader = 4;
constexpr uint8_t kExpectedFirmware = 4;
constexpr uint8_t kNoDevice = 0xFF;

// The wire message of a schedule row: index byte, then the row.
constexpr size_t kScheduleMessageSize = 1 + ScheduleRow::Size;

// A Chart as the PC holds it before the first read: every slot empty.
Chart EmptyChart();

}  // namespace vmx
