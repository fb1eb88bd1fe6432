#include "cli/board_session.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "lang/log_stamp.h"
#include "link/port_name.h"
#include "link/record_requests.h"
#include "link/serial_port.h"
#include "persist/data_root.h"
#include "persist/history_triggers.h"
#include "persist/read_back.h"
#include "persist/settings_file.h"

namespace vmx::cli {
namespace {

using namespace std::chrono_literals;

// A write's bit clears without a hand-off, so waits look again this often;
// a record handed over wakes them at once. A request's answer waits for this
// on top of the line's own time.
constexpr auto kPoll = 1ms;

}  // namespace

std::optional<BoardArguments> ParseBoardArguments(int argc, char** argv, std::string& problem) {
  BoardArguments a;
  for (int i = 1; i < argc; ++i) {
    const std::string word = argv[i];
    if (word == "-v" || word == "--verbose") {
      a.verbose = true;
    } else if (word == "-debug" || word == "--debug") {
      a.verbose = a.debug = true;
    } else if (word == "--timeout") {
      char* end = nullptr;
      const double seconds = i + 1 < argc ? std::strtod(argv[i + 1], &end) : 0;
      if (i + 1 >= argc || *end != 0 || !(seconds > 0 && seconds <= 3600)) {
        problem = "--timeout takes a number of seconds";
        return std::nullopt;
      }
      a.timeout = std::chrono::milliseconds(static_cast<long long>(seconds * 1000));
      ++i;
    } else if (a.port.empty()) {
      a.port = word;
    } else {
      a.rest.push_back(word);
    }
  }
  if (a.port.empty()) {
    problem = "no port given";
    return std::nullopt;
  }
  return a;
}

BoardSession::BoardSession(const BoardArguments& arguments, Listener* listener)
    : arguments_(arguments), listener_(listener) {
  arguments_.port = PortFromArgument(arguments_.port);  // a bare name means /dev/NAME, as in the window
  // Imports, exports, backups and reef defaults run inside OnUi, where the
  // completeness of the records may be asked.
  BindHistory(store_, {UserDataRoot(), "velmarinex-cli", [this] { return arguments_.port; },
                       [this] { return records_.Complete(store_); }, {}, {}});
  StartWorker();
}

BoardSession::~BoardSession() {
  // A write still on its way is let through; a transaction the board does not
  // answer is cut short.
  worker_->Terminate();
  worker_->WaitClosed(1s);
  ShutDown();
  worker_->Abort();
  worker_.reset();
  UnbindHistory(&store_);
}

void BoardSession::StartWorker() {
  worker_ = TthdCom::Create(arguments_.port, arguments_.debug, store_, *this, LinkTiming{}, [this] {
    auto port = std::make_unique<LineWatch>(MakeSystemSerialPort());
    line_ = port.get();
    return port;
  });
}

bool BoardSession::Revive() {
  if (!worker_->LinkClosed()) return false;
  worker_.reset();  // its run has ended: this joins at once
  {
    MutexLock g(lock_);
    refusal_.clear();
  }
  StartWorker();
  return true;
}

bool BoardSession::Connected() const {
  MutexLock g(lock_);
  return connected_;
}

void BoardSession::Say(const std::string& text, bool status) {
  if (listener_) listener_->Said(text, status);
  if (!arguments_.verbose) return;
  // The log separates lines with CR LF; a terminal wants plain line feeds.
  std::string entry = StampLogEntry(LogStampNow(), text);
  for (size_t at; (at = entry.find("\r\n")) != std::string::npos;) entry.erase(at, 1);
  std::fprintf(stderr, "%s\n", entry.c_str());
}

void BoardSession::LogLine(const std::string& text) {
  Say(text, false);
}

void BoardSession::StatusLine(const std::string& text) {
  {
    MutexLock g(lock_);
    lastStatus_ = text;
  }
  Say(text, true);
}

void BoardSession::Progress(const std::string& text, int64_t, int64_t) {
  Say(text, false);
}

void BoardSession::LinkState(bool connected) {
  {
    MutexLock g(lock_);
    records_.LinkState(connected);
    if (connected_ && !connected) ++losses_;
    connected_ = connected;
    complete_ = records_.Complete(store_);
    if (connected) {
      everConnected_ = true;
      identificationsAtConnect_ = line_->Identifications();
    }
  }
  changed_.NotifyAll();
  if (listener_) listener_->LinkChanged(connected);
}

void BoardSession::UpdatePage(RecordKind page) {
  bool complete = false;
  {
    MutexLock g(lock_);
    records_.Shown(page, store_);
    complete_ = records_.Complete(store_);
    ++reads_[static_cast<size_t>(page)];
    complete = complete_;
  }
  changed_.NotifyAll();
  if (listener_) listener_->RecordRead(page, store_, complete);
}

void BoardSession::Identified(uint8_t type, uint8_t version) {
  // The worker has said what it found just before: another firmware, the
  // bootloader or other hardware is nothing a command can work with.
  MutexLock g(lock_);
  if (type != kNoDevice && (type != kThisBoard || version != kExpectedFirmware))
    refusal_ = lastStatus_.empty() ? "no usable board on " + arguments_.port : lastStatus_;
}

std::string BoardSession::LinkProblem() const {
  if (!everConnected_)
    return "no " + std::string("Velmarinex 2.x.4") + " answered on " + arguments_.port +
           (lastStatus_.empty() ? "" : " (" + lastStatus_ + ")");
  return "the link to the board on " + arguments_.port + " was lost";
}

bool BoardSession::WaitUntil(const std::function<bool()>& done, std::string& problem) {
  const auto deadline = std::chrono::steady_clock::now() + arguments_.timeout;
  MutexLock g(lock_);
  for (;;) {
    if (!refusal_.empty()) {
      problem = refusal_;
      return false;
    }
    if (done()) return true;
    const auto now = std::chrono::steady_clock::now();
    if (worker_->LinkClosed() || now > deadline) {
      problem = LinkProblem();
      return false;
    }
    changed_.WaitUntil(lock_, std::min(now + kPoll, deadline));
  }
}

bool BoardSession::Open(std::string& problem) {
  bool readFailed = false;
  const bool open = WaitUntil(
      [&]() REQUIRES(lock_) {
        // An identification after the link came up means a read failed.
        readFailed = connected_ && line_->Identifications() > identificationsAtConnect_;
        return readFailed || (connected_ && complete_);
      },
      problem);
  if (readFailed) problem = "reading the board on " + arguments_.port + " failed";
  return open && !readFailed;
}

void BoardSession::OnUi(const std::function<void()>& job) {
  // What the line carried before the job belongs to earlier steps.
  setsBefore_ = line_->Sets().size();
  identificationsBefore_ = line_->Identifications();
  {
    MutexLock g(lock_);
    lossesBefore_ = losses_;
  }
  HandOff(job);
}

bool BoardSession::WaitServed(uint32_t bits, const std::vector<std::string>& sets,
                              std::string& problem) {
  const auto deadline = std::chrono::steady_clock::now() + arguments_.timeout;
  for (;;) {
    {
      // A link that went down and up again since the job dropped its edits.
      MutexLock g(lock_);
      if (!connected_ || losses_ != lossesBefore_ || worker_->LinkClosed()) {
        problem = LinkProblem();
        return false;
      }
    }
    const std::vector<LineWatch::SetResult> all = line_->Sets();
    const std::vector<LineWatch::SetResult> mine(all.begin() + static_cast<long>(setsBefore_),
                                                 all.end());
    auto last = [&](const std::string& key) -> const LineWatch::SetResult* {
      for (auto it = mine.rbegin(); it != mine.rend(); ++it)
        if (it->key == key) return &*it;
      return nullptr;
    };
    bool sent = !line_->SetPending();
    for (const std::string& key : sets) sent = sent && last(key);
    if (sent && !store_.Pending(bits) && !store_.WritesPending()) {
      for (const std::string& key : sets) {
        if (!last(key)->acknowledged) {
          problem = "the board did not acknowledge " + key;
          return false;
        }
      }
      if ((bits & request::ReadBits) && line_->Identifications() > identificationsBefore_) {
        problem = "reading the board on " + arguments_.port + " failed";
        return false;
      }
      return true;
    }
    if (std::chrono::steady_clock::now() > deadline) {
      problem = "the board on " + arguments_.port + " did not finish in time";
      return false;
    }
    std::this_thread::sleep_for(kPoll);
  }
}

bool BoardSession::WaitWritten(uint32_t bits, const SettingsRecords& sent, std::string& problem) {
  // The worker clears a write bit when it takes the record; the reads raised
  // after that are served after the write, in the same pass or a later one.
  if (!WaitUntil([&]() REQUIRES(lock_) { return !connected_ || !store_.Pending(bits); }, problem))
    return false;
  std::vector<uint64_t> before;
  uint32_t reads = 0;
  {
    MutexLock g(lock_);
    if (!connected_) {
      problem = LinkProblem();
      return false;
    }
    before = reads_;
    reads = ReadBackOf(bits);
  }
  store_.Raise(reads);
  auto readBack = [&]() REQUIRES(lock_) {
    if (!connected_) return true;
    for (const ReadBack& r : kReadBacks) {
      const auto record = static_cast<size_t>(r.record);
      if ((bits & r.writes) && reads_[record] == before[record]) return false;
    }
    return true;
  };
  if (!WaitUntil(readBack, problem)) return false;
  {
    MutexLock g(lock_);
    if (!connected_) {
      problem = LinkProblem();
      return false;
    }
  }
  SettingsRecords held;
  OnUi([&] { held = TakeSettings(store_); });
  problem = ReadBackDifferences(bits, sent, held);
  return problem.empty();
}

}  // namespace vmx::cli
