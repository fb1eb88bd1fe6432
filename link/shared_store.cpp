#include "link/shared_store.h"

#include <algorithm>

namespace vmx {

SharedStore::SharedStore() : chart(EmptyChart()) {}

int SharedStore::AddRequestListener(std::function<void()> listener) {
  MutexLock g(listenerLock_);
  listeners_.emplace_back(++nextListener_, std::move(listener));
  return nextListener_;
}

void SharedStore::RemoveRequestListener(int id) {
  MutexLock g(listenerLock_);
  std::erase_if(listeners_, [id](const auto& l) { return l.first == id; });
}

void SharedStore::Notify() {
  MutexLock g(listenerLock_);
  for (const auto& [id, listener] : listeners_) listener();
}

void SharedStore::Raise(uint32_t bits) {
  {
    MutexLock g(lock_);
    requests_ |= bits;
  }
  if (bits) Notify();
}

void SharedStore::Clear(uint32_t bits) {
  MutexLock g(lock_);
  requests_ &= ~bits;
}

void SharedStore::SetRequests(uint32_t word) {
  {
    MutexLock g(lock_);
    requests_ = word;
  }
  if (word) Notify();
}

void SharedStore::Change(uint32_t clear, uint32_t raise) {
  {
    MutexLock g(lock_);
    if (requests_ & clear & request::LoadReef) ++reefLoads_;
    requests_ = (requests_ & ~clear) | raise;
  }
  if (raise) Notify();
}

uint64_t SharedStore::ReefLoads() {
  MutexLock g(lock_);
  return reefLoads_;
}

uint32_t SharedStore::Requests() {
  MutexLock g(lock_);
  return requests_;
}

bool SharedStore::Pending(uint32_t bits) {
  return (Requests() & bits) != 0;
}

int SharedStore::RowCount() {
  MutexLock g(lock_);
  return rowCount_;
}

DroppedWrites SharedStore::ResetRequests(uint32_t word) {
  DroppedWrites dropped;
  {
    MutexLock g(lock_);
    dropped.bits = requests_ & request::AllWriteBits;
    // A mark is an edit only while WriteSchedule asks for it to be sent (a
    // mark left from an earlier reset was reported then).
    for (size_t i = 0; i < changedRows_.size(); ++i) {
      if (!changedRows_[i]) continue;
      changedRows_[i] = false;
      if (requests_ & request::WriteSchedule) dropped.rows.push_back(static_cast<int>(i));
    }
    requests_ = word;
  }
  if (word) Notify();
  return dropped;
}

template <class R>
void SharedStore::AcceptUnless(R& target, std::span<const uint8_t> payload, uint32_t readBit,
                               uint32_t writeBits) {
  MutexLock g(lock_);
  requests_ &= ~readBit;
  // A pending write means the PC's copy is newer than what was on the wire.
  if (requests_ & writeBits) return;
  target = Decode<R>(payload);
}

void SharedStore::AcceptInfo(std::span<const uint8_t> payload) {
  MutexLock g(lock_);
  requests_ &= ~request::ReadInfo;
  if (requests_ & request::InfoWriteBits) return;
  info = Decode<Info>(payload);
  rowCount_ = info.RowCount;
  ResizeLocked(info.RowCount);
}

void SharedStore::AcceptConfig(std::span<const uint8_t> payload) {
  AcceptUnless(config, payload, request::ReadConfig, request::WriteConfig);
}

void SharedStore::AcceptExpert(std::span<const uint8_t> payload) {
  AcceptUnless(expert, payload, request::ReadExpert, request::WriteExpert);
}

void SharedStore::AcceptExpertWeather(std::span<const uint8_t> payload) {
  AcceptUnless(weather, payload, request::ReadWeather, request::WriteWeather);
}

void SharedStore::AcceptChart(std::span<const uint8_t> payload) {
  AcceptUnless(chart, payload, request::ReadChart, 0);
}

void SharedStore::AcceptHealth(std::span<const uint8_t> payload) {
  AcceptUnless(health, payload, request::ReadHealth, 0);
}

bool SharedStore::AcceptRow(std::span<const uint8_t> message) {
  const int index = static_cast<int8_t>(message[0]);
  MutexLock g(lock_);
  if (index < 0 || index >= static_cast<int>(schedule.size())) return false;
  // A mark without WriteSchedule is left from a request word that was reset
  // (a new identification): the board's row wins then.
  const auto row = static_cast<size_t>(index);
  if (row < changedRows_.size() && changedRows_[row] && (requests_ & request::WriteSchedule))
    return false;
  schedule[row] = Decode<ScheduleRow>(message.subspan(1));
  return true;
}

template <class R>
void SharedStore::Prepare(const R& source, std::span<uint8_t> payload, uint32_t writeBit) {
  requests_ &= ~writeBit;
  const auto image = Encode(source);
  std::copy(image.begin(), image.end(), payload.begin());
}

void SharedStore::PrepareInfoTime(std::span<uint8_t> payload) {
  {
    MutexLock g(lock_);
    Prepare(info, payload, request::WriteInfoTime);
  }
  for (const auto& f : Info::Fields().Rows())
    if (f.name.starts_with("Channel")) PutLE(payload, f.offset, f.width, 0xFFFF);
}

void SharedStore::PrepareInfoChannels(std::span<uint8_t> payload) {
  {
    MutexLock g(lock_);
    Prepare(info, payload, request::WriteInfoChannels);
  }
  const auto* minute = Info::Fields().Find("Minute");
  payload[minute->offset] = 0xFF;
}

void SharedStore::PrepareConfig(std::span<uint8_t> payload) {
  MutexLock g(lock_);
  Prepare(config, payload, request::WriteConfig);
}

void SharedStore::PrepareExpert(std::span<uint8_t> payload) {
  MutexLock g(lock_);
  Prepare(expert, payload, request::WriteExpert);
  if (!pairingWrite_) return;
  pairingWrite_ = false;
  rc5Stale_ = true;
  pairingSent_ = expert;
}

void SharedStore::PrepareExpertWeather(std::span<uint8_t> payload) {
  MutexLock g(lock_);
  Prepare(weather, payload, request::WriteWeather);
}

bool SharedStore::PrepareRow(std::span<uint8_t> payload) {
  MutexLock g(lock_);
  const size_t rows =
      std::min({static_cast<size_t>(info.RowCount), changedRows_.size(), schedule.size()});
  for (size_t i = 0; i < rows; ++i) {
    if (!changedRows_[i]) continue;
    changedRows_[i] = false;
    payload[0] = static_cast<uint8_t>(i);
    const auto image = Encode(schedule[i]);
    std::copy(image.begin(), image.end(), payload.begin() + 1);
    return true;
  }
  requests_ &= ~request::WriteSchedule;
  return false;
}

void SharedStore::RemarkRow(int index) {
  {
    MutexLock g(lock_);
    if (index < 0 || index >= static_cast<int>(changedRows_.size())) return;
    changedRows_[static_cast<size_t>(index)] = true;
    requests_ |= request::WriteSchedule;
  }
  Notify();
}

void SharedStore::MarkRows(size_t first, size_t count, uint32_t bits) {
  {
    MutexLock g(lock_);
    for (size_t i = first; i < changedRows_.size() && i - first < count; ++i)
      changedRows_[i] = true;
    requests_ |= bits;
  }
  if (bits) Notify();
}

bool SharedStore::RowMarked(size_t row) {
  MutexLock g(lock_);
  return row < changedRows_.size() && changedRows_[row];
}

std::vector<bool> SharedStore::RowMarks() {
  MutexLock g(lock_);
  return changedRows_;
}

void SharedStore::ResizeRowTables(size_t rows) {
  MutexLock g(lock_);
  ResizeLocked(rows);
}

bool SharedStore::WritesPending() {
  MutexLock g(lock_);
  if (writing_ > 0 || (requests_ & request::WriteBits)) return true;
  return std::find(changedRows_.begin(), changedRows_.end(), true) != changedRows_.end();
}

void SharedStore::WriteStarted() {
  MutexLock g(lock_);
  ++writing_;
}

void SharedStore::WriteEnded() {
  MutexLock g(lock_);
  --writing_;
}

void SharedStore::RaiseIrPairing() {
  {
    MutexLock g(lock_);
    pairingWrite_ = true;
    requests_ |= request::WriteExpert;
  }
  Notify();
}

bool SharedStore::Rc5ReadDue() {
  MutexLock g(lock_);
  return rc5Stale_ && !pairingWrite_;
}

void SharedStore::AcceptRc5Codes(std::span<const uint8_t> payload) {
  const Expert board = Decode<Expert>(payload);
  MutexLock g(lock_);
  rc5Stale_ = false;
  auto take = [](uint16_t& code, uint16_t sent, uint16_t fresh) {
    if (code == sent) code = fresh;
  };
  take(expert.Up, pairingSent_.Up, board.Up);
  take(expert.Down, pairingSent_.Down, board.Down);
  take(expert.Left, pairingSent_.Left, board.Left);
  take(expert.Right, pairingSent_.Right, board.Right);
  take(expert.Previous, pairingSent_.Previous, board.Previous);
  take(expert.Next, pairingSent_.Next, board.Next);
  take(expert.Settings, pairingSent_.Settings, board.Settings);
  take(expert.Step, pairingSent_.Step, board.Step);
}

void SharedStore::ResizeLocked(size_t rows) {
  schedule.resize(rows);
  changedRows_.resize(rows, false);
}

}  // namespace vmx
