// Board replies of any shape through the wire protocol, the record decoding
// and the store's accept and prepare steps, as the link worker drives them.
//
// Input: transactions one after another. Each is a byte choosing the command,
// a byte n and n bytes that the board sends back. A choice byte with its top
// bit set makes the port fail instead, as a vanished device would; bit 6
// switches the debug trace on for that transaction.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <string_view>

#include "link/records.h"
#include "link/serial_port.h"
#include "link/shared_store.h"
#include "link/wire_protocol.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/link/fake_port.h"

namespace vmx {
namespace {

// A port whose replies come from the input: each read takes what the current
// reply still holds, as a line that has fallen silent would.
class ScriptedPort final : public testing::FakePort {
 public:
  void Purge() override {
    Require();
    reply_ = {};
  }
  void Write(std::span<const uint8_t> data, std::chrono::milliseconds) override {
    Require();
    written.assign(data.begin(), data.end());
    // The board answers the line just sent; Purge dropped what was left before.
    reply_ = pending_;
    pending_ = {};
  }
  size_t Read(std::span<uint8_t> buffer, std::chrono::milliseconds) override {
    Require();
    const size_t n = std::min(buffer.size(), reply_.size());
    std::copy_n(reply_.begin(), n, buffer.begin());
    reply_ = reply_.subspan(n);
    return n;
  }
  // What the board answers to the next line.
  void Answer(std::span<const uint8_t> reply) { pending_ = reply; }
  void FailNext() { fail_ = true; }

  std::string written;

 private:
  void Require() {
    if (fail_) {
      fail_ = false;
      Close();
      throw SerialError(Name() + ": device disconnected");
    }
    RequireOpen();
  }

  bool fail_ = false;
  std::span<const uint8_t> pending_, reply_;
};

struct Command {
  std::string_view code;
  size_t length;
  bool get;
};

constexpr Command kCommands[] = {
    {"80", DeviceIdent::Size, true},
    {"81", Info::Size, true},
    {"82", Config::Size, true},
    {"83", kScheduleMessageSize, true},
    {"85", Expert::Size, true},
    {"86", ExpertWeather::Size, true},
    {"87", Chart::Size, true},
    {"88", Health::Size, true},
    {"81", BootInfo::Size, true},
    {"01", Info::Size, false},
    {"02", Config::Size, false},
    {"03", kScheduleMessageSize, false},
    {"05", Expert::Size, false},
    {"06", ExpertWeather::Size, false},
    {"7F", 1, false},
};

// Decoding a record and encoding it again gives back the very bytes received:
// nothing the board sent is lost or changed on its way through the PC.
template <class R>
void CheckRoundTrip(std::span<const uint8_t> payload) {
  const R record = Decode<R>(payload);
  const auto image = Encode(record);
  FUZZ_CHECK(std::equal(image.begin(), image.end(), payload.begin()));
}

void CheckReceived(std::string_view code, size_t length, std::span<const uint8_t> payload,
                   SharedStore& store) {
  if (code == "80") {
    CheckRoundTrip<DeviceIdent>(payload);
  } else if (code == "81" && length == Info::Size) {
    CheckRoundTrip<Info>(payload);
    store.AcceptInfo(payload);
    FUZZ_CHECK(store.schedule.size() == store.info.RowCount);
    FUZZ_CHECK(store.RowMarks().size() == store.info.RowCount);
    FUZZ_CHECK(store.RowCount() == store.info.RowCount);
  } else if (code == "81") {
    CheckRoundTrip<BootInfo>(payload);
  } else if (code == "82") {
    CheckRoundTrip<Config>(payload);
    store.AcceptConfig(payload);
  } else if (code == "83") {
    CheckRoundTrip<ScheduleRow>(payload.subspan(1));
    const int index = static_cast<int8_t>(payload[0]);
    const bool inTable = index >= 0 && index < static_cast<int>(store.schedule.size());
    FUZZ_CHECK(store.AcceptRow(payload) == inTable);
    if (inTable) {
      store.MarkRows(static_cast<size_t>(index), 1, 0);
      std::array<uint8_t, kScheduleMessageSize> out{};
      FUZZ_CHECK(store.PrepareRow(out));
    }
  } else if (code == "85") {
    CheckRoundTrip<Expert>(payload);
    store.AcceptExpert(payload);
  } else if (code == "86") {
    CheckRoundTrip<ExpertWeather>(payload);
    store.AcceptExpertWeather(payload);
  } else if (code == "87") {
    CheckRoundTrip<Chart>(payload);
    store.AcceptChart(payload);
  } else if (code == "88") {
    CheckRoundTrip<Health>(payload);
    store.AcceptHealth(payload);
  }
}

}  // namespace
}  // namespace vmx

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vmx;
  std::span<const uint8_t> input(data, size);
  ScriptedPort port;
  std::string log;
  WireProtocol wire(
      port, [&](const std::string& text) { log += text; }, std::chrono::milliseconds(0));
  SharedStore store;

  while (input.size() >= 2) {
    const uint8_t choice = input[0];
    const size_t n = std::min<size_t>(input[1], input.size() - 2);
    const auto reply = input.subspan(2, n);
    input = input.subspan(2 + n);
    const Command& c = kCommands[(choice & 0x3F) % std::size(kCommands)];
    wire.SetDebug(choice & 0x40);

    if (!port.IsOpen()) port.Open("/dev/fuzz");
    port.written.clear();
    port.Answer(reply);
    if (choice & 0x80) port.FailNext();

    if (c.get) {
      const bool ok = wire.Get(c.code, c.length);
      // Step order of a Get: the command and one line feed, nothing else.
      if (!port.written.empty()) FUZZ_CHECK(port.written == std::string(c.code) + "\n");
      if (!ok) continue;
      // A success needs the whole reply with the echo and a line end.
      FUZZ_CHECK(reply.size() >= 2 * c.length + 3);
      FUZZ_CHECK(reply[0] == static_cast<uint8_t>(c.code[0]));
      FUZZ_CHECK(reply[1] == static_cast<uint8_t>(c.code[1]));
      CheckReceived(c.code, c.length, wire.Payload(c.length), store);
    } else {
      std::array<uint8_t, 132> payload{};
      for (size_t i = 0; i < c.length && i < reply.size(); ++i) payload[i] = reply[i];
      const bool ok = wire.Set(c.code, std::span(payload).first(c.length));
      FUZZ_CHECK(!ok || !reply.empty());
      if (!port.written.empty()) {
        FUZZ_CHECK(port.written.size() == 2 * c.length + 3);
        FUZZ_CHECK(port.written.back() == '\n');
      }
    }
  }
  return 0;
}
