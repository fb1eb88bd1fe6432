// The one shared copy of the board's records, the schedule tables and the
// request word, with the lock that guards them against the link worker.
//
// The UI thread writes record fields without the lock and then raises a request
// bit under it. The worker copies records in (accept) and out (prepare) only
// through the steps below, each one short critical section; it never holds the
// lock across a port transaction.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <mutex>
#include <span>
#include <utility>
#include <vector>

#include "link/records.h"
#include "link/request_flags.h"

namespace vmx {

// Where the schedule view drew a row last: x, and y per channel, in pixels.
struct PointPosition {
  float x = 0;
  std::array<float, kChannels> y{};
};

class SharedStore {
 public:
  SharedStore();

  std::mutex& Lock() { return lock_; }

  // Runs `listener` after every raise of request bits, outside the lock: the
  // link worker sleeps until there is work instead of looking every pass.
  int AddRequestListener(std::function<void()> listener);
  // Once it returns, the listener is not running and never runs again.
  void RemoveRequestListener(int id);

  // The request word; each call is one critical section.
  void Raise(uint32_t bits);
  void Clear(uint32_t bits);
  void SetRequests(uint32_t word);
  // Clears `clear` and raises `raise` in one critical section.
  void Change(uint32_t clear, uint32_t raise);
  uint32_t Requests();
  bool Pending(uint32_t bits);  // true when any of `bits` is set
  // How often the worker has taken LoadReef: the board's settings changed
  // under the PC's copy, which is stale until everything is read again.
  uint64_t ReefLoads();

  // Accept steps: `payload` holds the received record bytes.
  void AcceptInfo(std::span<const uint8_t> payload);
  void AcceptConfig(std::span<const uint8_t> payload);
  void AcceptExpert(std::span<const uint8_t> payload);
  void AcceptExpertWeather(std::span<const uint8_t> payload);
  void AcceptChart(std::span<const uint8_t> payload);
  void AcceptHealth(std::span<const uint8_t> payload);
  // `message` is the index byte followed by the row; an index that is negative
  // or outside the table drops the row. A row edited on the PC and still to be
  // written is newer than the one on the wire and is kept, as a pending write
  // keeps a record. Returns whether the row was stored.
  bool AcceptRow(std::span<const uint8_t> message);

  // Prepare steps: fill `payload` with what goes on the wire and clear the bit.
  // A SetInfo for the clock leaves the channels alone (0xFFFF each); one for the
  // channels leaves the clock alone (Minute 0xFF). The shared Info keeps its values.
  void PrepareInfoTime(std::span<uint8_t> payload);
  void PrepareInfoChannels(std::span<uint8_t> payload);
  void PrepareConfig(std::span<uint8_t> payload);
  void PrepareExpert(std::span<uint8_t> payload);
  void PrepareExpertWeather(std::span<uint8_t> payload);
  // Takes the lowest marked row into `payload` (index byte + row) and clears its
  // mark. With no row marked it clears WriteSchedule and returns false.
  bool PrepareRow(std::span<uint8_t> payload);
  // A row the board did not acknowledge is marked again and WriteSchedule raised.
  void RemarkRow(int index);

  // Marks `count` rows from `first` (those within the table) as edited and
  // raises `bits`, in one critical section.
  void MarkRows(size_t first, size_t count, uint32_t bits);
  // Whether a record or row write is still to reach the board, or is on the
  // line and may yet be sent again.
  bool WritesPending();
  // The worker brackets each write with these, up to its decision to send it
  // again: in between the request bit is already cleared.
  void WriteStarted();
  void WriteEnded();

  // IR pairing: the PC inverts the RC-5 codes and writes Expert; the board
  // then learns new codes and saves them itself, so the PC's codes are stale
  // until Expert is read again. RaiseIrPairing marks the next Expert write as
  // the pairing write.
  void RaiseIrPairing();
  // True when the next Expert write is not a pairing write and a pairing write
  // went out since: the board's codes are to be read first.
  bool Rc5ReadDue();
  // Takes the board's codes from a freshly read Expert record, except a code
  // changed on the PC since the pairing write (it is newer); ends the staleness.
  void AcceptRc5Codes(std::span<const uint8_t> payload);

  // Number of schedule rows of the last accepted Info.
  int RowCount();

  // The records. Edited by the UI thread without the lock.
  Info info;
  Config config;
  Expert expert;
  ExpertWeather weather;
  Chart chart;
  Health health;
  // Per-row tables, always RowCount long.
  std::vector<ScheduleRow> schedule;
  std::vector<bool> changedRows;
  std::vector<PointPosition> pointPositions;

 private:
  template <class R>
  void AcceptUnless(R& target, std::span<const uint8_t> payload, uint32_t readBit,
                    uint32_t writeBits);
  template <class R>
  void Prepare(const R& source, std::span<uint8_t> payload, uint32_t writeBit);
  void ResizeRowTables(size_t rows);

  void Notify();

  std::mutex lock_;
  uint32_t requests_ = 0;
  int writing_ = 0;
  std::mutex listenerLock_;
  std::vector<std::pair<int, std::function<void()>>> listeners_;
  int nextListener_ = 0;
  bool pairingWrite_ = false;  // the pending Expert write starts or aborts a pairing
  bool rc5Stale_ = false;
  Expert pairingSent_;  // the record as the last pairing write sent it
  uint64_t reefLoads_ = 0;
};

}  // namespace vmx
