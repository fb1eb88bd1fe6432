#include "link/wire_protocol.h"

#include <algorithm>

#include "lang/catalogue.h"
#include "link/hex.h"

namespace vmx {
namespace {

using Clock = std::chrono::steady_clock;

constexpr size_t kReceiveArea = 512;
constexpr uint8_t kLineFeed = 0x0A;
constexpr uint8_t kCarriageReturn = 0x0D;

std::span<const uint8_t> AsBytes(std::string_view s) {
  return {reinterpret_cast<const uint8_t*>(s.data()), s.size()};
}

}  // namespace

WireProtocol::WireProtocol(SerialPort& port, LogFn log, std::chrono::milliseconds timeout)
    : port_(port), log_(std::move(log)), timeout_(timeout) {}

void WireProtocol::Trace(std::string_view direction, std::string_view text,
                         Clock::time_point since) {
  if (!debug_) return;
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - since);
  log_(std::string(direction) + ": \"" + std::string(text) + "\" " + std::to_string(ms.count()) +
       " ms");
}

bool WireProtocol::Get(std::string_view command, size_t length) {
  try {
    port_.Purge();
    std::string line(command);
    line.push_back(static_cast<char>(kLineFeed));
    auto start = Clock::now();
    port_.Write(AsBytes(line), timeout_);
    Trace("OUT", command, start);

    std::array<uint8_t, kReceiveArea> area{};
    const size_t expected = 2 * length + 3;
    start = Clock::now();
    const size_t got = port_.Read(std::span(area).first(std::min(expected, kReceiveArea)), timeout_);
    const auto* text = reinterpret_cast<const char*>(area.data());
    Trace("IN", std::string_view(text, std::find(area.begin(), area.end(), 0) - area.begin()),
          start);

    if (got == 0) {
      log_(LangText("NoData"));
      port_.Close();
      return false;
    }
    if (got < expected) return false;
    if (area[0] != static_cast<uint8_t>(command[0]) || area[1] != static_cast<uint8_t>(command[1]))
      return false;
    if (area[got - 1] != kLineFeed && area[got - 1] != kCarriageReturn) return false;
    return Decode(std::span(area).first(got), length);
  } catch (const std::exception& e) {
    log_(e.what());
    return false;
  }
}

bool WireProtocol::Decode(std::span<const uint8_t> received, size_t length) {
  for (size_t pair = 0; pair <= length; ++pair) {
    const char high = static_cast<char>(received[2 * pair]);
    const char low = static_cast<char>(received[2 * pair + 1]);
    const auto value = HexPair(high, low);
    if (!value) {
      log_("'" + std::string{high, low} + "' is not a valid hexadecimal value");
      return false;
    }
    if (pair == 0)
      buffer_.echo = *value;
    else
      buffer_.payload[pair - 1] = *value;
  }
  return true;
}

bool WireProtocol::Set(std::string_view command, std::span<const uint8_t> payload) {
  try {
    std::string line(command);
    line.reserve(command.size() + 2 * payload.size() + 1);
    for (uint8_t b : payload) AppendHex(line, b);
    line.push_back(static_cast<char>(kLineFeed));

    port_.Purge();
    auto start = Clock::now();
    port_.Write(AsBytes(line), timeout_);
    Trace("OUT", line, start);

    uint8_t ack = 0;
    start = Clock::now();
    const size_t got = port_.Read(std::span(&ack, 1), timeout_);
    const std::string shown = (got == 1 && ack != 0) ? std::string(1, static_cast<char>(ack)) : "";
    Trace("IN", shown, start);
    return got == 1;
  } catch (const std::exception& e) {
    log_(e.what());
    return false;
  }
}

void WireProtocol::StartBootloader() {
  try {
    port_.Purge();
    port_.Write(AsBytes("7F00\n"), timeout_);
  } catch (const std::exception& e) {
    log_(e.what());
  }
}

}  // namespace vmx
