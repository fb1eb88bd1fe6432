#include "link/shared_store.h"

#include <algorithm>

namespace vmx {

SharedStore::SharedStore() : chart(EmptyChart()) {}

int SharedStore::AddRequestListener(std::function<void()> listener) {
  std::lock_guard g(listenerLock_);
  listeners_.emplace_back(++nextListener_, std::move(listener));
  return nextListener_;
}

void SharedStore::RemoveRequestListener(int id) {
  std::lock_guard g(listenerLock_);
  std::erase_if(listeners_, [id](const auto& l) { return l.first == id; });
}

void SharedStore::Notify() {
  std::lock_guard g(listenerLock_);
  for (const auto& [id, listener] : listeners_) listener();
}

void SharedStore::Raise(uint32_t bits) {
  {
    std::lock_guard g(lock_);
    requests_ |= bits;
  }
  if (bits) Notify();
}

void SharedStore::Clear(uint32_t bits) {
  std::lock_guard g(lock_);
  requests_ &= ~bits;
}

void SharedStore::SetRequests(uint32_t word) {
  {
    std::lock_guard g(lock_);
    requests_ = word;
  }
  if (word) Notify();
}

void SharedStore::Change(uint32_t clear, uint32_t raise) {
  {
    std::lock_guard g(lock_);
    if (requests_ & clear & request::LoadReef) ++reefLoads_;
    requests_ = (requests_ & ~clear) | raise;
  }
  if (raise) Notify();
}

uint64_t SharedStore::ReefLoads() {
  std::lock_guard g(lock_);
  return reefLoads_;
}

uint32_t SharedStore::Requests() {
  std::lock_guard g(lock_);
  return requests_;
}

bool SharedStore::Pending(uint32_t bits) {
  return (Requests() & bits) != 0;
}

int SharedStore::RowCount() {
  std::lock_guard g(lock_);
  return info.RowCount;
}

template <class R>
void SharedStore::AcceptUnless(R& target, std::span<const uint8_t> payload, uint32_t readBit,
                               uint32_t writeBits) {
  std::lock_guard g(lock_);
  requests_ &= ~readBit;
  // A pending write means the PC's copy is newer than what was on the wire.
  if (requests_ & writeBits) return;
  target = Decode<R>(payload);
}

void SharedStore::AcceptInfo(std::span<const uint8_t> payload) {
  std::lock_guard g(lock_);
  requests_ &= ~request::ReadInfo;
  if (requests_ & (request::WriteInfoTime | request::WriteInfoChannels)) return;
  info = Decode<Info>(payload);
  ResizeRowTables(info.RowCount);
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
  std::lock_guard g(lock_);
  if (index < 0 || index >= static_cast<int>(schedule.size())) return false;
  // A mark without WriteSchedule is left from a request word that was reset
  // (a new identification): the board's row wins then.
  if (changedRows[index] && (requests_ & request::WriteSchedule)) return false;
  schedule[index] = Decode<ScheduleRow>(message.subspan(1));
  return true;
}

template <class R>
void SharedStore::Prepare(const R& source, std::span<uint8_t> payload, uint32_t writeBit) {
  std::lock_guard g(lock_);
  requests_ &= ~writeBit;
  const auto image = Encode(source);
  std::copy(image.begin(), image.end(), payload.begin());
}

void SharedStore::PrepareInfoTime(std::span<uint8_t> payload) {
  Prepare(info, payload, request::WriteInfoTime);
  for (const auto& f : Info::Fields().Rows())
    if (f.name.starts_with("Channel")) PutLE(payload, f.offset, f.width, 0xFFFF);
}

void SharedStore::PrepareInfoChannels(std::span<uint8_t> payload) {
  Prepare(info, payload, request::WriteInfoChannels);
  const auto* minute = Info::Fields().Find("Minute");
  payload[minute->offset] = 0xFF;
}

void SharedStore::PrepareConfig(std::span<uint8_t> payload) {
  Prepare(config, payload, request::WriteConfig);
}

void SharedStore::PrepareExpert(std::span<uint8_t> payload) {
  Prepare(expert, payload, request::WriteExpert);
  std::lock_guard g(lock_);
  if (!pairingWrite_) return;
  pairingWrite_ = false;
  rc5Stale_ = true;
  pairingSent_ = expert;
}

void SharedStore::PrepareExpertWeather(std::span<uint8_t> payload) {
  Prepare(weather, payload, request::WriteWeather);
}

bool SharedStore::PrepareRow(std::span<uint8_t> payload) {
  std::lock_guard g(lock_);
  const size_t rows = std::min<size_t>(info.RowCount, changedRows.size());
  for (size_t i = 0; i < rows; ++i) {
    if (!changedRows[i]) continue;
    changedRows[i] = false;
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
    std::lock_guard g(lock_);
    if (index < 0 || index >= static_cast<int>(changedRows.size())) return;
    changedRows[index] = true;
    requests_ |= request::WriteSchedule;
  }
  Notify();
}

void SharedStore::MarkRows(size_t first, size_t count, uint32_t bits) {
  {
    std::lock_guard g(lock_);
    for (size_t i = first; i < changedRows.size() && i - first < count; ++i) changedRows[i] = true;
    requests_ |= bits;
  }
  if (bits) Notify();
}

bool SharedStore::WritesPending() {
  std::lock_guard g(lock_);
  if (writing_ > 0 || (requests_ & request::WriteBits)) return true;
  return std::find(changedRows.begin(), changedRows.end(), true) != changedRows.end();
}

void SharedStore::WriteStarted() {
  std::lock_guard g(lock_);
  ++writing_;
}

void SharedStore::WriteEnded() {
  std::lock_guard g(lock_);
  --writing_;
}

void SharedStore::RaiseIrPairing() {
  {
    std::lock_guard g(lock_);
    pairingWrite_ = true;
    requests_ |= request::WriteExpert;
  }
  Notify();
}

bool SharedStore::Rc5ReadDue() {
  std::lock_guard g(lock_);
  return rc5Stale_ && !pairingWrite_;
}

void SharedStore::AcceptRc5Codes(std::span<const uint8_t> payload) {
  const Expert board = Decode<Expert>(payload);
  std::lock_guard g(lock_);
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

void SharedStore::ResizeRowTables(size_t rows) {
  schedule.resize(rows);
  changedRows.resize(rows, false);
  pointPositions.resize(rows);
}

}  // namespace vmx
