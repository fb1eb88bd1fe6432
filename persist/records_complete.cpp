#include "persist/records_complete.h"

#include "link/shared_store.h"

namespace vmx {
namespace {

constexpr uint32_t Bit(RecordKind record) {
  return 1u << static_cast<unsigned>(record);
}

// What a settings file holds, and Info for the number of rows.
constexpr uint32_t kAll = Bit(RecordKind::Info) | Bit(RecordKind::Config) |
                          Bit(RecordKind::Schedule) | Bit(RecordKind::Expert) |
                          Bit(RecordKind::ExpertWeather);

}  // namespace

void RecordsCompleteness::LinkState(bool connected) {
  // Either way a new start: a new link, another board, or none.
  connected_ = connected;
  missing_ = kAll;
  rowCount_ = -1;
}

void RecordsCompleteness::NoticeReefLoad(SharedStore& store) {
  const uint64_t loads = store.ReefLoads();
  if (loads == reefLoads_) return;
  reefLoads_ = loads;
  missing_ = kAll;
}

void RecordsCompleteness::Shown(RecordKind record, SharedStore& store) {
  NoticeReefLoad(store);
  if (!connected_) return;
  missing_ &= ~Bit(record);
  if (record == RecordKind::Info) {
    const int rows = store.RowCount();
    // New rows are zero until the schedule is read again.
    if (rowCount_ >= 0 && rows != rowCount_) missing_ |= Bit(RecordKind::Schedule);
    rowCount_ = rows;
  }
}

bool RecordsCompleteness::Complete(SharedStore& store) {
  NoticeReefLoad(store);
  return connected_ && missing_ == 0;
}

}  // namespace vmx
