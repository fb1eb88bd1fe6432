// The request word: each bit asks the link worker for one job. The worker
// clears a bit when it takes the job.
#pragma once

#include <cstdint>

namespace vmx::request {

constexpr uint32_t ReadInfo = 1u << 0;  // not served while a WriteInfo bit is set
constexpr uint32_t WriteInfoTime = 1u << 1;
constexpr uint32_t WriteInfoChannels = 1u << 2;
constexpr uint32_t ReadConfig = 1u << 3;  // not served while WriteConfig is set
constexpr uint32_t WriteConfig = 1u << 4;
constexpr uint32_t ReadSchedule = 1u << 5;  // not served while WriteSchedule is set
constexpr uint32_t WriteSchedule = 1u << 6;  // one marked row per pass
constexpr uint32_t ReadExpert = 1u << 7;
constexpr uint32_t WriteExpert = 1u << 8;
constexpr uint32_t ReadWeather = 1u << 9;
constexpr uint32_t WriteWeather = 1u << 10;
constexpr uint32_t ReadChart = 1u << 11;
constexpr uint32_t ReadHealth = 1u << 12;
constexpr uint32_t LoadReef = 1u << 13;
constexpr uint32_t Bootloader = 1u << 14;
constexpr uint32_t SaveEEPROM = 1u << 15;
constexpr uint32_t ToggleCloud = 1u << 16;
constexpr uint32_t ToggleStorm = 1u << 17;

// Bits 18 and up ask for nothing.
constexpr uint32_t AllRequests = (ToggleStorm << 1) - 1;

// The two writes of Info: the clock, the channels.
constexpr uint32_t InfoWriteBits = WriteInfoTime | WriteInfoChannels;
// Every write of a record or of schedule rows: what must reach the board
// before it saves its settings or loads the reef defaults.
constexpr uint32_t WriteBits = WriteConfig | WriteSchedule | WriteExpert | WriteWeather;
// Every edit on its way to the board.
constexpr uint32_t AllWriteBits = InfoWriteBits | WriteBits;

// Every record the board holds, read again.
constexpr uint32_t ReadAllSet = ReadInfo | ReadConfig | ReadSchedule | ReadExpert | ReadWeather;
// What a fresh connection to the expected firmware reads.
constexpr uint32_t InitialSet = ReadAllSet | ReadChart;
// Every read.
constexpr uint32_t ReadBits = ReadAllSet | ReadChart | ReadHealth;
// The link's own refresh of the live values, about twice a second.
constexpr uint32_t PeriodicSet = ReadInfo | ReadConfig;

// What editors raise together.
constexpr uint32_t ConfigImportSet = WriteConfig | WriteExpert | WriteWeather;
constexpr uint32_t ColumnEditSet = WriteConfig | WriteSchedule;  // paste or swap of a column
constexpr uint32_t ChartSourceSet = WriteExpert | ReadChart;     // the chart page's source menu

static_assert(ReadAllSet == 0x2A9);
static_assert(InitialSet == 0xAA9);
static_assert(WriteBits == 0x550);
static_assert(AllRequests == 0x3FFFF);
static_assert(PeriodicSet == 0x9);
static_assert(ConfigImportSet == 0x510);
static_assert(ColumnEditSet == 0x50);
static_assert(ChartSourceSet == 0x900);

}  // namespace vmx::request
