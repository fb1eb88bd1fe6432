#include "cli/board_session.h"

#include <cstdio>
#include <cstdlib>
#include <thread>

#include "lang/log_stamp.h"
#include "link/posix_serial_port.h"

namespace vmx::cli {
namespace {

using namespace std::chrono_literals;

constexpr auto kPoll = 5ms;
constexpr uint32_t kReadBits = request::ReadInfo | request::ReadConfig | request::ReadSchedule |
                               request::ReadExpert | request::ReadWeather | request::ReadChart |
                               request::ReadHealth;

uint32_t Bit(PageUpdate page) {
  return 1u << static_cast<unsigned>(page);
}

// The records a command may rely on once the board has been read.
const uint32_t kFirstRead = Bit(PageUpdate::Config) | Bit(PageUpdate::Info) |
                            Bit(PageUpdate::Expert) | Bit(PageUpdate::Schedule) |
                            Bit(PageUpdate::ExpertWeather);

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

BoardSession::BoardSession(const BoardArguments& arguments)
    : arguments_(arguments), deadline_(std::chrono::steady_clock::now() + arguments.timeout) {
  worker_ = TthdCom::Create(arguments_.port, arguments_.debug, store_, *this, LinkTiming{}, [this] {
    auto port = std::make_unique<LineWatch>(std::make_unique<PosixSerialPort>());
    line_ = port.get();
    return port;
  });
}

BoardSession::~BoardSession() {
  // Everything the command waited for is done: a transaction still on the
  // line (a periodic read) is cut short.
  worker_->Abort();
  worker_.reset();
}

void BoardSession::LogLine(const std::string& text) {
  if (arguments_.verbose) std::fprintf(stderr, "%s\n", StampLogEntry(LogStampNow(), text).c_str());
}

void BoardSession::StatusLine(const std::string& text) {
  {
    std::lock_guard g(lock_);
    lastStatus_ = text;
  }
  LogLine(text);
}

void BoardSession::LinkState(bool connected) {
  std::lock_guard g(lock_);
  connected_ = connected;
  if (!connected) return;
  everConnected_ = true;
  updatesSinceConnect_ = 0;
  identificationsAtConnect_ = line_->Identifications();
}

void BoardSession::UpdatePage(PageUpdate page) {
  std::lock_guard g(lock_);
  if (connected_) updatesSinceConnect_ |= Bit(page);
}

std::string BoardSession::LinkProblem() const {
  std::lock_guard g(lock_);
  if (!everConnected_)
    return "no " + std::string("Velmarinex 2.x.4") + " answered on " + arguments_.port +
           (lastStatus_.empty() ? "" : " (" + lastStatus_ + ")");
  return "the link to the board on " + arguments_.port + " was lost";
}

bool BoardSession::Open(std::string& problem) {
  for (;;) {
    {
      std::lock_guard g(lock_);
      if (connected_ && line_->Identifications() > identificationsAtConnect_) {
        problem = "reading the board on " + arguments_.port + " failed";
        return false;
      }
      if (connected_ && (updatesSinceConnect_ & kFirstRead) == kFirstRead) return true;
    }
    if (worker_->LinkClosed() || Expired()) {
      problem = LinkProblem();
      return false;
    }
    std::this_thread::sleep_for(kPoll);
  }
}

void BoardSession::OnUi(const std::function<void()>& job) {
  // What the line carried before the job belongs to earlier steps.
  setsBefore_ = line_->Sets().size();
  identificationsBefore_ = line_->Identifications();
  HandOff(job);
}

bool BoardSession::WaitServed(uint32_t bits, const std::vector<std::string>& sets,
                              std::string& problem) {
  for (;;) {
    bool connected;
    {
      std::lock_guard g(lock_);
      connected = connected_;
    }
    if (!connected || worker_->LinkClosed()) {
      problem = LinkProblem();
      return false;
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
      if ((bits & kReadBits) && line_->Identifications() > identificationsBefore_) {
        problem = "reading the board on " + arguments_.port + " failed";
        return false;
      }
      return true;
    }
    if (Expired()) {
      problem = "the board on " + arguments_.port + " did not finish in time";
      return false;
    }
    std::this_thread::sleep_for(kPoll);
  }
}

}  // namespace vmx::cli
