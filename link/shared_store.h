// The one shared copy of the board's records, the schedule table and the
// request word, between the UI thread and the link worker.
//
// Who owns what:
// - The records (info ... health) and the schedule table belong to the UI
//   thread. It reads and edits them without the lock. The worker reaches them
//   only inside its hand-offs (LinkHost::HandOff), which run on the UI thread:
//   that is where every Accept* and Prepare* step runs.
// - The request word, the row marks and the other fields below marked
//   GUARDED_BY(lock_) are shared: every access takes the lock, one short
//   critical section per call. The worker reads the word between
//   transactions and never holds the lock across one.
// - The record copies into and out of the worker's transfer buffer (the
//   accept and prepare steps) are made under the lock too, so that the check
//   of a pending write and the copy it guards are one step.
// - Where there is no window (the command-line tool, the MQTT bridge), "the UI
//   thread" is whoever holds the inline host's lock: the worker's hand-offs
//   and the tool's own jobs (InlineLinkHost::HandOff) both run under it.
//
// The lock is private: nothing outside the store can hold it, so nothing can
// wait for the worker while holding it.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "link/dropped_writes.h"
#include "link/records.h"
#include "link/request_flags.h"
#include "platform/mutex.h"

namespace vmx {

class SharedStore {
 public:
  SharedStore();

  // Runs `listener` after every raise of request bits, outside the lock: the
  // link worker sleeps until there is work instead of looking every pass.
  // Any thread.
  int AddRequestListener(std::function<void()> listener) EXCLUDES(listenerLock_);
  // Once it returns, the listener is not running and never runs again.
  void RemoveRequestListener(int id) EXCLUDES(listenerLock_);

  // ---- Any thread: the request word, each call one critical section. ----
  void Raise(uint32_t bits) EXCLUDES(lock_);
  void Clear(uint32_t bits) EXCLUDES(lock_);
  void SetRequests(uint32_t word) EXCLUDES(lock_);
  // Clears `clear` and raises `raise` in one critical section.
  void Change(uint32_t clear, uint32_t raise) EXCLUDES(lock_);
  uint32_t Requests() EXCLUDES(lock_);
  bool Pending(uint32_t bits) EXCLUDES(lock_);  // true when any of `bits` is set
  // How often the worker has taken LoadReef: the board's settings changed
  // under the PC's copy, which is stale until everything is read again.
  uint64_t ReefLoads() EXCLUDES(lock_);
  // Number of schedule rows of the last accepted Info. The worker asks it
  // outside its hand-offs; it changes only in AcceptInfo, under the lock.
  int RowCount() EXCLUDES(lock_);
  // Sets the request word to `word` and drops every edit still to be sent:
  // the write bits and the row marks. Returns what was dropped. A new
  // identification or connection does this: the board may not be the one
  // the edits were made against.
  DroppedWrites ResetRequests(uint32_t word) EXCLUDES(lock_);

  // ---- The worker, outside its hand-offs. ----
  // A row the board did not acknowledge is marked again and WriteSchedule raised.
  void RemarkRow(int index) EXCLUDES(lock_);
  // Whether a record or row write is still to reach the board, or is on the
  // line and may yet be sent again.
  bool WritesPending() EXCLUDES(lock_);
  // The worker brackets each write with these, up to its decision to send it
  // again: in between the request bit is already cleared.
  void WriteStarted() EXCLUDES(lock_);
  void WriteEnded() EXCLUDES(lock_);
  // True when the next Expert write is not a pairing write and a pairing write
  // went out since: the board's codes are to be read first.
  bool Rc5ReadDue() EXCLUDES(lock_);

  // ---- UI thread: the worker's hand-offs. ----
  // Accept steps: `payload` holds the received record bytes.
  void AcceptInfo(std::span<const uint8_t> payload) EXCLUDES(lock_);
  void AcceptConfig(std::span<const uint8_t> payload) EXCLUDES(lock_);
  void AcceptExpert(std::span<const uint8_t> payload) EXCLUDES(lock_);
  void AcceptExpertWeather(std::span<const uint8_t> payload) EXCLUDES(lock_);
  void AcceptChart(std::span<const uint8_t> payload) EXCLUDES(lock_);
  void AcceptHealth(std::span<const uint8_t> payload) EXCLUDES(lock_);
  // `message` is the index byte followed by the row; an index that is negative
  // or outside the table drops the row. A row edited on the PC and still to be
  // written is newer than the one on the wire and is kept, as a pending write
  // keeps a record. Returns whether the row was stored.
  bool AcceptRow(std::span<const uint8_t> message) EXCLUDES(lock_);
  // Takes the board's codes from a freshly read Expert record, except a code
  // changed on the PC since the pairing write (it is newer); ends the staleness.
  void AcceptRc5Codes(std::span<const uint8_t> payload) EXCLUDES(lock_);

  // Prepare steps: fill `payload` with what goes on the wire and clear the bit.
  // A SetInfo for the clock leaves the channels alone (0xFFFF each); one for the
  // channels leaves the clock alone (Minute 0xFF). The shared Info keeps its values.
  void PrepareInfoTime(std::span<uint8_t> payload) EXCLUDES(lock_);
  void PrepareInfoChannels(std::span<uint8_t> payload) EXCLUDES(lock_);
  void PrepareConfig(std::span<uint8_t> payload) EXCLUDES(lock_);
  void PrepareExpert(std::span<uint8_t> payload) EXCLUDES(lock_);
  void PrepareExpertWeather(std::span<uint8_t> payload) EXCLUDES(lock_);
  // Takes the lowest marked row into `payload` (index byte + row) and clears its
  // mark. With no row marked it clears WriteSchedule and returns false.
  bool PrepareRow(std::span<uint8_t> payload) EXCLUDES(lock_);

  // ---- UI thread: the editors. ----
  // Marks `count` rows from `first` (those within the table) as edited and
  // raises `bits`, in one critical section.
  void MarkRows(size_t first, size_t count, uint32_t bits) EXCLUDES(lock_);
  bool RowMarked(size_t row) EXCLUDES(lock_);
  std::vector<bool> RowMarks() EXCLUDES(lock_);  // one per row of the table
  // Gives the schedule table and its marks `rows` entries, as an accepted Info
  // does: existing entries kept, new ones zero and unmarked.
  void ResizeRowTables(size_t rows) EXCLUDES(lock_);
  // IR pairing: the PC inverts the RC-5 codes and writes Expert; the board
  // then learns new codes and saves them itself, so the PC's codes are stale
  // until Expert is read again. RaiseIrPairing marks the next Expert write as
  // the pairing write.
  void RaiseIrPairing() EXCLUDES(lock_);

  // The records: the UI thread's, read and edited without the lock.
  Info info;
  Config config;
  Expert expert;
  ExpertWeather weather;
  Chart chart;
  Health health;
  // The schedule table, RowCount long. Rows are the UI thread's; their marks
  // are shared (MarkRows, RowMarked).
  std::vector<ScheduleRow> schedule;

 private:
  template <class R>
  void AcceptUnless(R& target, std::span<const uint8_t> payload, uint32_t readBit,
                    uint32_t writeBits) EXCLUDES(lock_);
  template <class R>
  void Prepare(const R& source, std::span<uint8_t> payload, uint32_t writeBit) REQUIRES(lock_);
  void ResizeLocked(size_t rows) REQUIRES(lock_);

  void Notify() EXCLUDES(listenerLock_);

  Mutex lock_;
  uint32_t requests_ GUARDED_BY(lock_) = 0;
  // One mark per schedule row: edited on the PC and still to be written.
  std::vector<bool> changedRows_ GUARDED_BY(lock_);
  int writing_ GUARDED_BY(lock_) = 0;
  // The pending Expert write starts or aborts a pairing.
  bool pairingWrite_ GUARDED_BY(lock_) = false;
  bool rc5Stale_ GUARDED_BY(lock_) = false;
  Expert pairingSent_ GUARDED_BY(lock_);  // the record as the last pairing write sent it
  uint64_t reefLoads_ GUARDED_BY(lock_) = 0;
  // Copied from the accepted Info, for the worker's look outside a hand-off.
  int rowCount_ GUARDED_BY(lock_) = 0;

  // Listeners run outside lock_, so that a listener may look at the word.
  Mutex listenerLock_;
  std::vector<std::pair<int, std::function<void()>>> listeners_ GUARDED_BY(listenerLock_);
  int nextListener_ GUARDED_BY(listenerLock_) = 0;
};

}  // namespace vmx
