#include "persist/read_back.h"

#include "link/request_flags.h"
#include "link/shared_store.h"
#include "persist/settings_file.h"

namespace vmx {
namespace {

constexpr ReadBack kReadBacks[] = {
    {request::WriteConfig, request::ReadConfig, PageUpdate::Config},
    {request::WriteExpert, request::ReadExpert, PageUpdate::Expert},
    {request::WriteWeather, request::ReadWeather, PageUpdate::ExpertWeather},
    {request::WriteSchedule, request::ReadSchedule, PageUpdate::Schedule},
};

constexpr uint32_t Bit(PageUpdate page) {
  return 1u << static_cast<unsigned>(page);
}

}  // namespace

std::span<const ReadBack> ReadBacks() {
  return kReadBacks;
}

std::string ReadBackDifferences(uint32_t bits, const SettingsRecords& sent,
                                const SettingsRecords& held) {
  std::string text;
  auto compare = [&](const std::string& section, const SettingsKey& key, size_t row) {
    const int64_t want = key.Get(sent, row), have = key.Get(held, row);
    if (want == have) return;
    text += (text.empty() ? "" : ", ") + std::string("[") + section + "] " + key.Name() + " sent " +
            std::to_string(want) + ", board holds " + std::to_string(have);
  };
  const std::pair<SettingsKey::Record, uint32_t> records[] = {
      {SettingsKey::Record::Config, request::WriteConfig},
      {SettingsKey::Record::Expert, request::WriteExpert},
      {SettingsKey::Record::Weather, request::WriteWeather}};
  for (const SettingsSection& section : SettingsSections())
    for (const SettingsKey& key : section.keys)
      for (const auto& [record, bit] : records)
        if (key.Holder() == record && (bits & bit)) compare(section.name, key, 0);
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
    uint32_t reads = 0;
    for (const ReadBack& r : kReadBacks)
      if (writeBits_ & r.write) {
        reads |= r.read;
        awaited_ |= Bit(r.page);
      }
    store.Raise(reads);
    state_ = State::Reading;
  }
  if (state_ == State::Reading && awaited_ == 0) {
    problem_ = ReadBackDifferences(writeBits_, sent_, TakeSettings(store));
    state_ = problem_.empty() ? State::Agreed : State::Differs;
  }
  return state_;
}

void RestoreCheck::Shown(PageUpdate record) {
  if (state_ == State::Reading) awaited_ &= ~Bit(record);
}

}  // namespace vmx
