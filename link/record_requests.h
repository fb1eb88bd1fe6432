// The request bits of each record: which write sends it, and which read
// brings back what a write changed. The link worker reads a record back when
// it gives a write up; the command line and the MQTT bridge read back what
// they wrote, to see what the board holds.
#pragma once

#include <array>
#include <cstdint>

#include "link/record_kind.h"
#include "link/request_flags.h"

namespace vmx {

struct ReadBack {
  uint32_t writes;  // the write request bits of one record
  uint32_t read;    // the read request bit that fetches it again
  RecordKind record;
};

inline constexpr std::array<ReadBack, 5> kReadBacks{{
    {request::InfoWriteBits, request::ReadInfo, RecordKind::Info},
    {request::WriteConfig, request::ReadConfig, RecordKind::Config},
    {request::WriteExpert, request::ReadExpert, RecordKind::Expert},
    {request::WriteWeather, request::ReadWeather, RecordKind::ExpertWeather},
    {request::WriteSchedule, request::ReadSchedule, RecordKind::Schedule},
}};

// The reads that bring back every record written by `writeBits`.
constexpr uint32_t ReadBackOf(uint32_t writeBits) {
  uint32_t reads = 0;
  for (const ReadBack& r : kReadBacks)
    if (writeBits & r.writes) reads |= r.read;
  return reads;
}

// The request bit that sends `record` as an editor changed it; 0 for the
// records the board only reports. An edit of Info is one of its channels.
constexpr uint32_t WriteBitOf(RecordKind record) {
  switch (record) {
    case RecordKind::Info:
      return request::WriteInfoChannels;
    case RecordKind::Config:
      return request::WriteConfig;
    case RecordKind::Expert:
      return request::WriteExpert;
    case RecordKind::ExpertWeather:
      return request::WriteWeather;
    case RecordKind::Schedule:
      return request::WriteSchedule;
    case RecordKind::Chart:
    case RecordKind::Health:
      break;
  }
  return 0;
}

static_assert(ReadBackOf(request::AllWriteBits) == request::ReadAllSet);

}  // namespace vmx
