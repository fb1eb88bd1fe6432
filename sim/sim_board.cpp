#include "sim/sim_board.h"

#include <algorithm>
#include <optional>

namespace vmx::sim {
namespace {

constexpr char kTerminator = '\r';
constexpr char kAck = 'K';

// The board's own hex: upper-case digits out, either case in.
void PutHex(std::string& out, uint8_t b) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  out += kDigits[b >> 4];
  out += kDigits[b & 15];
}

int DigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::optional<std::vector<uint8_t>> ParseHex(std::string_view hex) {
  if (hex.size() % 2) return std::nullopt;
  std::vector<uint8_t> out;
  for (size_t i = 0; i < hex.size(); i += 2) {
    const int h = DigitValue(hex[i]), l = DigitValue(hex[i + 1]);
    if (h < 0 || l < 0) return std::nullopt;
    out.push_back(static_cast<uint8_t>(h << 4 | l));
  }
  return out;
}

template <class R>
Reply Answer(std::string_view command, const R& record) {
  Reply r;
  r.bytes = std::string(command);
  for (uint8_t b : Encode(record)) PutHex(r.bytes, b);
  r.bytes += kTerminator;
  return r;
}

Reply Ack() { return Reply{std::string(1, kAck)}; }

bool IsGet(std::string_view command) { return command.size() == 2 && command[0] == '8'; }

}  // namespace

SimBoard::SimBoard(BoardOptions options)
    : options_(options), state_(options.rows), bootloader_(options.inBootloader || options.jumper) {
  state_.bootInfo.PageSize = options.pageSize;
  state_.bootInfo.FlashSize = options.flashSize;
}

void SimBoard::InjectFault(Fault fault, int count, std::string command,
                           std::chrono::milliseconds delay) {
  std::lock_guard g(lock_);
  faults_.push_back({fault, count, std::move(command), delay});
}

void SimBoard::ClearFaults() {
  std::lock_guard g(lock_);
  faults_.clear();
}

void SimBoard::SetIdentity(uint8_t type, uint8_t version) {
  std::lock_guard g(lock_);
  options_.type = type;
  options_.version = version;
}

bool SimBoard::InBootloader() const {
  std::lock_guard g(lock_);
  return bootloader_;
}

void SimBoard::SetJumper(bool set) {
  std::lock_guard g(lock_);
  options_.jumper = set;
}

void SimBoard::SetGeometry(uint16_t pageSize, uint32_t flashSize) {
  std::lock_guard g(lock_);
  state_.bootInfo.PageSize = pageSize;
  state_.bootInfo.FlashSize = flashSize;
}

std::vector<uint8_t> SimBoard::Flash() const {
  std::lock_guard g(lock_);
  return state_.flash;
}

int SimBoard::BlocksIntoBootloader() const {
  std::lock_guard g(lock_);
  return blocksIntoBootloader_;
}

std::vector<std::string> SimBoard::Lines() const {
  std::lock_guard g(lock_);
  return lines_;
}

size_t SimBoard::LineCount() const {
  std::lock_guard g(lock_);
  return lines_.size();
}

void SimBoard::ClearLines() {
  std::lock_guard g(lock_);
  lines_.clear();
}

bool SimBoard::WaitFor(const std::function<bool(const std::vector<std::string>&)>& pred,
                       std::chrono::milliseconds timeout) const {
  std::unique_lock g(lock_);
  return lineArrived_.wait_for(g, timeout, [&] { return pred(lines_); });
}

Reply SimBoard::Handle(std::string_view line) {
  std::lock_guard g(lock_);
  lines_.emplace_back(line);
  lineArrived_.notify_all();
  const std::optional<PendingFault> fault = TakeFault(line);
  if (fault && fault->fault == Fault::Lost) return {};
  Reply reply = Serve(line);
  if (!fault) return reply;
  return ApplyFaults(*fault, std::move(reply), IsGet(line.substr(0, 2)) && line.size() == 2);
}

Reply SimBoard::Serve(std::string_view line) {
  if (line.size() < 2) return {};
  std::string command(line.substr(0, 2));
  std::transform(command.begin(), command.end(), command.begin(),
                 [](char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); });
  const std::string_view hex = line.substr(2);
  return bootloader_ ? ServeBootloader(command, hex) : ServeApplication(command, hex);
}

Reply SimBoard::ServeApplication(std::string_view command, std::string_view hex) {
  if (IsGet(command)) {
    if (!hex.empty()) return {};
    if (command == "80") {
      DeviceIdent id{options_.type, options_.version};
      return Answer(command, id);
    }
    if (command == "81") return Answer(command, state_.LiveInfo());
    if (command == "82") return Answer(command, state_.config);
    if (command == "83") {
      // Each request brings the next row; the board names it in the first byte.
      if (state_.schedule.empty()) return {};
      const int index = static_cast<int>(scheduleCursor_++ % state_.schedule.size());
      Reply r;
      r.bytes = std::string(command);
      PutHex(r.bytes, static_cast<uint8_t>(index));
      for (uint8_t b : Encode(state_.schedule[index])) PutHex(r.bytes, b);
      r.bytes += kTerminator;
      return r;
    }
    if (command == "85") return Answer(command, state_.expert);
    if (command == "86") return Answer(command, state_.weather);
    if (command == "87") return Answer(command, state_.ChartSamples());
    if (command == "88") return Answer(command, state_.health);
    return {};
  }
  const auto payload = ParseHex(hex);
  if (!payload) return {};
  const auto& p = *payload;
  if (command == "01" && p.size() == Info::Size) {
    const Info in = Decode<Info>(p);
    if (static_cast<uint8_t>(in.Minute) != 0xFF)
      state_.clock.Set(2000 + in.Year, in.Month, in.Day, in.Hour, in.Minute, in.Second);
    for (int c = 0; c < kChannels; ++c)
      if (in.Channel[c] != -1) state_.info.Channel[c] = in.Channel[c];
    if (std::any_of(in.Channel.begin(), in.Channel.end(), [](int16_t v) { return v != -1; }))
      state_.config.Mode = ModeField(BoardMode::Manual);  // a hand-set channel puts the board into Manual
    return Ack();
  }
  if (command == "02" && p.size() == Config::Size) {
    state_.config = Decode<Config>(p);
    state_.clock.SetTimeLapse(state_.config.TimeLapse);
    return Ack();
  }
  if (command == "03" && p.size() == 1 + ScheduleRow::Size) {
    const int index = static_cast<int8_t>(p[0]);
    if (index >= 0 && index < static_cast<int>(state_.schedule.size()))
      state_.schedule[index] = Decode<ScheduleRow>(std::span(p).subspan(1));
    return Ack();
  }
  if (command == "05" && p.size() == Expert::Size) {
    state_.expert = Decode<Expert>(p);
    return Ack();
  }
  if (command == "06" && p.size() == ExpertWeather::Size) {
    state_.weather = Decode<ExpertWeather>(p);
    return Ack();
  }
  if (command == "7F" && p.size() == 1) {
    switch (p[0]) {
      case 0:  // restart into the bootloader; the restart leaves no time to answer
        bootloader_ = true;
        written_ = false;
        return {};
      case 1:
        state_.savingUntil = std::chrono::steady_clock::now() + std::chrono::seconds(1);
        return Ack();
      case 2:
        state_.info.ActivityFlags ^= activity::Cloud;
        return Ack();
      case 3:
        state_.info.ActivityFlags ^= activity::Storm;
        return Ack();
      case 4:
        state_.LoadReefDefaults();
        return Ack();
      default:
        return Ack();
    }
  }
  return {};
}

Reply SimBoard::ServeBootloader(std::string_view command, std::string_view hex) {
  if (command == "80" && hex.empty()) {
    DeviceIdent id{kThisBootloader, options_.version};
    return Answer(command, id);
  }
  if (command == "81" && hex.empty()) return Answer(command, state_.bootInfo);
  const auto payload = ParseHex(hex);
  if (!payload) return {};
  if (command == "02" && payload->size() == 66) {
    const size_t address = (*payload)[0] | (*payload)[1] << 8;
    // The bootloader never overwrites itself, nor flash the chip does not have.
    const size_t own = state_.bootInfo.FlashSize >= 1024 ? state_.bootInfo.FlashSize - 1024 : 0;
    const size_t limit = std::min(own, state_.flash.size());
    if (address >= own) ++blocksIntoBootloader_;
    for (size_t i = 0; i < 64 && address + i < limit; ++i)
      state_.flash[address + i] = (*payload)[2 + i];
    written_ = true;
    return Ack();
  }
  if (command == "01" && payload->size() == 6) {
    // The acknowledgement goes out before the restart; a set jumper brings the
    // board straight back into its bootloader.
    if (written_ && options_.versionAfterUpdate) options_.version = options_.versionAfterUpdate;
    bootloader_ = options_.jumper;
    written_ = false;
    return Ack();
  }
  return {};
}

std::optional<SimBoard::PendingFault> SimBoard::TakeFault(std::string_view line) {
  auto it = std::find_if(faults_.begin(), faults_.end(), [&](const PendingFault& f) {
    return f.command.empty() || line.starts_with(f.command);
  });
  if (it == faults_.end()) return std::nullopt;
  const PendingFault fault = *it;
  if (it->count > 0 && --it->count == 0) faults_.erase(it);
  return fault;
}

Reply SimBoard::ApplyFaults(const PendingFault& fault, Reply reply, bool isGet) {

  std::string& b = reply.bytes;
  switch (fault.fault) {
    case Fault::Silence:
      b.clear();
      break;
    case Fault::ShortReply:
      if (!b.empty()) b.pop_back();
      break;
    case Fault::WrongEcho:
      if (isGet && b.size() >= 2) b[1] = b[1] == '0' ? '1' : '0';
      break;
    case Fault::InvalidHex:
      if (isGet && b.size() >= 5) b[b.size() - 3] = 'G';
      break;
    case Fault::LowerCase:
      std::transform(b.begin(), b.end(), b.begin(), [](char c) {
        return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      });
      break;
    case Fault::CrLf:
      if (isGet && !b.empty()) b += '\n';
      break;
    case Fault::ZeroAck:
      if (!isGet && !b.empty()) b = std::string(1, '\0');
      break;
    case Fault::Delay:
      reply.delay = fault.delay;
      break;
    case Fault::HangUp:
      reply.hangUp = true;
      b.clear();
      break;
    case Fault::Lost:
      break;  // dealt with before the line is served
  }
  return reply;
}

}  // namespace vmx::sim
