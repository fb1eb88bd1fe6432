// The soak's edits and what it expects of them. Edits are made as the pages
// make them: record fields written on the UI thread, then the write bit raised
// under the lock (rows marked first). Every edited field is remembered with
// its value until the board is seen to hold it, or it is found lost.
#pragma once

#include <cstdint>
#include <map>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "link/records.h"
#include "link/shared_store.h"

namespace vmx::soak {

// The records as one side holds them: the PC's store or the board.
struct Records {
  std::array<int16_t, kChannels> channels{};
  Config config;
  Expert expert;
  ExpertWeather weather;
  std::vector<ScheduleRow> schedule;
  bool operator==(const Records&) const = default;
};

Records PcRecords(const SharedStore& store);  // on the UI thread

// Names the first difference between two sides, empty when they agree.
std::string FirstDifference(const Records& pc, const Records& board);

class EditModel {
 public:
  enum Kind { Channels, Config, Expert, Weather, Row, Clock, Action, KindCount };

  // One random edit on the UI thread; `resets` is the host's count of dropped
  // request words at this moment.
  Kind EditOnce(SharedStore& store, std::mt19937& rng, uint64_t resets);

  struct Verdict {
    size_t kept = 0;      // the board holds the edited value
    size_t reverted = 0;  // given up when the link started over after the edit
    size_t lost = 0;      // neither: the board never got it and nothing said so
    std::vector<std::string> lostFields;
  };
  // Judges every remembered edit against the board and forgets it.
  Verdict Judge(const Records& board, uint64_t resetsNow);

 private:
  struct Intent {
    int64_t value;
    uint64_t resets;
  };
  // (kind, row, field row in the record's table)
  using Key = std::tuple<int, int, int>;
  std::map<Key, Intent> intents_;
};

const char* KindName(EditModel::Kind kind);

}  // namespace vmx::soak
