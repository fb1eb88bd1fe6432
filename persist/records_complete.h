// Whether the PC holds a complete, current copy of the board's settings.
// The link reports its connection before it reads anything, and the records
// are neither cleared nor marked as fresh: until every record of the link has
// been read, they hold zeros or another board's values. Nothing may write a
// settings file from them or send them back then.
//
// Complete once Info, Config, the schedule, Expert and ExpertWeather have
// each been read on the current link; incomplete again when the link ends or
// finds another board, when the board loads its reef defaults, and (for the
// schedule) when the number of schedule rows changes.
#pragma once

#include <cstdint>

#include "link/link_host.h"

namespace vmx {

class SharedStore;

class RecordsCompleteness {
 public:
  // The link reports a connection to the expected firmware, or its loss.
  void LinkState(bool connected);
  // A record was read and handed over; `store` holds it.
  void Shown(RecordKind record, SharedStore& store);
  bool Complete(SharedStore& store);
  bool Connected() const { return connected_; }

 private:
  void NoticeReefLoad(SharedStore& store);

  bool connected_ = false;
  uint32_t missing_ = 0;  // bits by RecordKind of the records still to be read
  int rowCount_ = -1;
  uint64_t reefLoads_ = 0;
};

}  // namespace vmx
