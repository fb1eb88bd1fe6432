// Whether the board has taken what was sent: each written record is read
// back and compared key by key with what went out. The command line waits
// for it; the window follows it as the reads come in.
#pragma once

#include <cstdint>
#include <string>

#include "link/record_kind.h"
#include "persist/settings_keys.h"

namespace vmx {

class SharedStore;

// What differs between what was sent with `writeBits` and what the board
// holds, by file key; empty when they agree. Which read brings each write
// back is link/record_requests.h's table.
std::string ReadBackDifferences(uint32_t writeBits, const SettingsRecords& sent,
                                const SettingsRecords& held);

// A restore on its way in the window: once the writes have gone out, the
// records are read again; once each has come back, they are compared.
class RestoreCheck {
 public:
  enum class State { Sending, Reading, Agreed, Differs };

  RestoreCheck(uint32_t writeBits, SettingsRecords sent);
  // Raises the reads once the writes have left; compares once all are back.
  State Poll(SharedStore& store);
  // A record was read and handed over.
  void Shown(RecordKind record);
  const std::string& Problem() const { return problem_; }

 private:
  uint32_t writeBits_;
  SettingsRecords sent_;
  State state_ = State::Sending;
  uint32_t awaited_ = 0;  // bits by RecordKind still to come back
  std::string problem_;
};

}  // namespace vmx
