#include "cli/settings_session.h"

#include <chrono>
#include <cstdio>

#include "lang/log_stamp.h"
#include "persist/settings_file.h"

namespace vmx::cli {
namespace {

using namespace std::chrono_literals;

// Long enough for a board on a slow Bluetooth link to read 127 schedule rows.
constexpr auto kPatience = 60s;

struct ReadBack {
  uint32_t write;
  uint32_t read;
  PageUpdate page;
};

constexpr ReadBack kReadBacks[] = {
    {request::WriteConfig, request::ReadConfig, PageUpdate::Config},
    {request::WriteExpert, request::ReadExpert, PageUpdate::Expert},
    {request::WriteWeather, request::ReadWeather, PageUpdate::ExpertWeather},
    {request::WriteSchedule, request::ReadSchedule, PageUpdate::Schedule},
};

// What differs between what was sent and what the board holds, by file key.
std::string Differences(uint32_t bits, const SettingsRecords& sent, const SettingsRecords& held) {
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

}  // namespace

SettingsSession::SettingsSession(const std::string& port, bool verbose)
    : port_(port), verbose_(verbose) {
  worker_ = TthdCom::Create(port, false, store_, *this);
}

SettingsSession::~SettingsSession() {
  worker_->Terminate();
  // A transaction on the line takes at most its timeout; then the worker ends.
  worker_->WaitClosed(12s);
  ShutDown();
  worker_.reset();
}

void SettingsSession::Say(const std::string& text) {
  if (!verbose_) return;
  std::string entry = StampLogEntry(LogStampNow(), text);
  for (size_t at; (at = entry.find("\r\n")) != std::string::npos;) entry.erase(at, 1);
  std::fprintf(stderr, "%s\n", entry.c_str());
}

void SettingsSession::LogLine(const std::string& text) {
  Say(text);
}

void SettingsSession::StatusLine(const std::string& text) {
  Say(text);
  std::lock_guard g(lock_);
  lastStatus_ = text;
  if (refused_) toldWhy_ = true;
  changed_.notify_all();
}

void SettingsSession::Progress(const std::string& text, int64_t, int64_t) {
  Say(text);
}

void SettingsSession::LinkState(bool connected) {
  std::lock_guard g(lock_);
  records_.LinkState(connected);
  // Before the first full read, state 0 means another firmware, the
  // bootloader or no answer: nothing this command can work with.
  if (!connected && !complete_) refused_ = true;
  connected_ = connected;
  complete_ = records_.Complete(store_);
  changed_.notify_all();
}

void SettingsSession::UpdatePage(PageUpdate page) {
  std::lock_guard g(lock_);
  records_.Shown(page, store_);
  complete_ = records_.Complete(store_);
  ++shown_[static_cast<size_t>(page)];
  changed_.notify_all();
}

void SettingsSession::OnLink(const std::function<void()>& job) {
  HandOff(job);
}

bool SettingsSession::WaitUntil(const std::function<bool()>& done, const char* what,
                                std::string& error) {
  const auto deadline = std::chrono::steady_clock::now() + kPatience;
  std::unique_lock g(lock_);
  while (!done()) {
    if (worker_->LinkClosed()) {
      error = lastStatus_.empty() ? "the link has ended" : lastStatus_;
      return false;
    }
    if (std::chrono::steady_clock::now() > deadline) {
      error = std::string("no ") + what + " from " + port_ +
              (lastStatus_.empty() ? "" : " (" + lastStatus_ + ")");
      return false;
    }
    changed_.wait_for(g, 20ms);
  }
  return true;
}

bool SettingsSession::WaitComplete(std::string& error) {
  if (!WaitUntil([this] { return complete_ || refused_; }, "complete set of settings", error))
    return false;
  std::unique_lock g(lock_);
  if (!refused_) return true;
  // The worker reports the link state first and then says what it found.
  changed_.wait_for(g, 2s, [this] { return toldWhy_; });
  error = lastStatus_.empty() ? "no usable board on " + port_ : lastStatus_;
  return false;
}

bool SettingsSession::WaitWritten(uint32_t bits, const SettingsRecords& sent, std::string& error) {
  // The worker clears a write bit when it takes the record; the reads raised
  // after that are served after the write, in the same pass or a later one.
  auto linkUp = [this] { return connected_; };
  if (!WaitUntil([&] { return !linkUp() || !store_.Pending(bits); }, "acknowledgement", error))
    return false;
  std::array<uint64_t, 8> before{};
  uint32_t reads = 0;
  {
    std::lock_guard g(lock_);
    if (!connected_) {
      error = "the link to " + port_ + " was lost";
      return false;
    }
    before = shown_;
    for (const ReadBack& r : kReadBacks)
      if (bits & r.write) reads |= r.read;
  }
  store_.Raise(reads);
  auto readBack = [&] {
    if (!connected_) return true;
    for (const ReadBack& r : kReadBacks) {
      const auto page = static_cast<size_t>(r.page);
      if ((bits & r.write) && shown_[page] == before[page]) return false;
    }
    return true;
  };
  if (!WaitUntil(readBack, "read-back", error)) return false;
  {
    std::lock_guard g(lock_);
    if (!connected_) {
      error = "the link to " + port_ + " was lost";
      return false;
    }
  }
  SettingsRecords held;
  OnLink([&] { held = TakeSettings(store_); });
  error = Differences(bits, sent, held);
  return error.empty();
}

}  // namespace vmx::cli
