#include "persist/read_back.h"

#include "link/record_requests.h"
#include "link/request_flags.h"
#include "link/shared_store.h"
#include "persist/settings_file.h"

namespace vmx {
namespace {

constexpr uint32_t Bit(RecordKind record) {
  return 1u << static_cast<unsigned>(record);
}

}  // namespace

std::string ReadBackDifferences(uint32_t bits, const SettingsRecords& sent,
                                const SettingsRecords& held) {
  std::string text;
  auto compare = [&](const std::string& section, const SettingsKey& key, size_t row) {
    const int64_t want = key.Get(sent, row), have = key.Get(held, row);
    if (want == have) return;
    text += (text.empty() ? "" : ", ") + std::string("[") + section + "] " + key.Name() + " sent " +
            std::to_string(want) + ", board holds " + std::to_string(have);
  };
  for (const SettingsSection& section : SettingsSections())
    for (const SettingsKey& key : section.keys)
      if (!key.InRow() && (bits & WriteBitOf(key.Holder()))) compare(section.name, key, 0);
  if (bits & request::WriteSchedule) {
    if (sent.schedule.size() != held.schedule.size()) return "the number of schedule rows changed";
    for (size_t row = 0; row < sent.schedule.size(); ++row)
      for (const SettingsKey& key : RowKeys()) compare(RowSectionName(row), key, row);
  }
  return text;
}

RestoreCheck::RestoreCheck(uint32_t writeBits, SettingsRecords sent)
    : writeBits_(writeBits), sent_(std::move(sent)) {}

RestoreCheck::State RestoreCheck::Poll(SharedStore& store) {
  if (state_ == State::Sending && !store.Pending(writeBits_)) {
    // The worker clears a write bit when it takes the record: reads raised
    // now are served after the write.
    for (const ReadBack& r : kReadBacks)
      if (writeBits_ & r.writes) awaited_ |= Bit(r.record);
    store.Raise(ReadBackOf(writeBits_));
    state_ = State::Reading;
  }
  if (state_ == State::Reading && awaited_ == 0) {
    problem_ = ReadBackDifferences(writeBits_, sent_, TakeSettings(store));
    state_ = problem_.empty() ? State::Agreed : State::Differs;
  }
  return state_;
}

void RestoreCheck::Shown(RecordKind record) {
  if (state_ == State::Reading) awaited_ &= ~Bit(record);
}

}  // namespace vmx
