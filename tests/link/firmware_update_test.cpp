// Firmware updates by the real worker against the simulated board's
// bootloader on a real pty: the blocks on the wire, what the user is told,
// the result handed to the host, and the board's flash afterwards.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <deque>
#include <optional>

#include "tests/link/vxh_file.h"
#include "tests/support/link_on_pty.h"

namespace vmx {
namespace {

using namespace std::chrono_literals;
using sim::Fault;
using ::testing::Contains;
using ::testing::HasSubstr;
using testing::Pattern;
using testing::TempFile;
using testing::VxhBytes;

// The UI side of an update: the files the user picks, in turn, and the results.
class UpdateHost : public testing::UiThreadHost {
 public:
  std::string ChooseFirmwareFile() override {
    std::lock_guard g(lock_);
    ++chooserShown;
    if (files.empty()) return {};
    std::string f = files.front();
    files.pop_front();
    return f;
  }
  void Progress(const std::string& t, int64_t d, int64_t n) override {
    UiThreadHost::Progress(t, d, n);
    if (onProgress) onProgress(d);
  }
  void FirmwareFinished(const FirmwareResult& r) override {
    {
      std::lock_guard g(lock_);
      results.push_back(r);
    }
    cv_.notify_all();
  }
  void Identified(uint8_t type, uint8_t) override {
    if (onIdentified) onIdentified(type);
  }
  std::optional<FirmwareResult> WaitResult(std::chrono::milliseconds timeout = 10s) {
    std::unique_lock g(lock_);
    if (!cv_.wait_for(g, timeout, [&] { return !results.empty(); })) return std::nullopt;
    return results.front();
  }

  std::deque<std::string> files;
  int chooserShown = 0;
  std::vector<FirmwareResult> results;
  std::function<void(int64_t)> onProgress;
  std::function<void(uint8_t)> onIdentified;

 private:
  std::mutex lock_;
  std::condition_variable cv_;
};

struct Block {
  int address;
  std::vector<uint8_t> data;
};

int Nibble(char c) {
  return c <= '9' ? c - '0' : c - 'A' + 10;
}

std::vector<uint8_t> Unhex(std::string_view s) {
  std::vector<uint8_t> out;
  for (size_t i = 0; i + 1 < s.size(); i += 2)
    out.push_back(static_cast<uint8_t>(Nibble(s[i]) << 4 | Nibble(s[i + 1])));
  return out;
}

class FirmwareUpdateTest : public ::testing::Test, protected testing::LinkOnPty<UpdateHost> {
 protected:
  explicit FirmwareUpdateTest(sim::BoardOptions options = {.rows = 2}) : LinkOnPty(options) {}

  static LinkTiming Timing() {
    LinkTiming t = testing::FastLinkTiming();
    t.blockRetry = 20ms;
    return t;
  }
  void Start(bool debug = false) { LinkOnPty::Start(debug, Timing()); }
  // Connected to the application and every first read done; then the update is asked for.
  void RequestUpdate(const std::vector<std::string>& chosen) {
    for (const auto& f : chosen) host.files.push_back(f);
    ASSERT_TRUE(Connected());
    for (int i = 0; i < 1000 && store.Requests() != 0; ++i) std::this_thread::sleep_for(5ms);
    board.ClearLines();
    store.Raise(request::Bootloader);
  }
  // The bootloader's block writes as they went over the wire.
  std::vector<Block> Blocks() const {
    std::vector<Block> out;
    for (const auto& l : board.Lines())
      if (l.size() == 134 && l.starts_with("02")) {
        const auto bytes = Unhex(std::string_view(l).substr(2));
        out.push_back({bytes[0] | bytes[1] << 8, {bytes.begin() + 2, bytes.end()}});
      }
    return out;
  }
  std::vector<std::string> Events() { return host.Events(); }
  // Where `event` was first reported at or after `from`.
  size_t IndexOf(const std::string& event, size_t from = 0) {
    const auto e = Events();
    return static_cast<size_t>(std::find(e.begin() + std::min(from, e.size()), e.end(), event) -
                               e.begin());
  }
  // The flash holds `data` at `first` and zeros up to `end`.
  void ExpectFlash(int first, const std::vector<uint8_t>& data, int end) {
    const auto flash = board.Flash();
    EXPECT_TRUE(std::equal(data.begin(), data.end(), flash.begin() + first));
    for (size_t a = first + data.size(); a < static_cast<size_t>(end); ++a)
      ASSERT_EQ(flash[a], 0) << "page padding at " << a;
  }
};

TEST_F(FirmwareUpdateTest, FromTheApplicationBlockByBlockToTheNewApplication) {
  const auto data = Pattern(0, 0x1FFF);
  TempFile file(VxhBytes(0, 0x1FFF, data));
  Start(true);
  RequestUpdate({file.path()});
  const auto result = host.WaitResult();
  ASSERT_TRUE(result);
  EXPECT_EQ(result->outcome, FirmwareOutcome::Updated);
  EXPECT_EQ(result->file, file.path());
  EXPECT_EQ(result->bytes, 8192);

  // The way in: restart, identify the bootloader (twice), ask for its geometry.
  const auto lines = board.Lines();
  const auto restart = std::find(lines.begin(), lines.end(), "7F00");
  ASSERT_LT(restart + 3, lines.end());
  EXPECT_EQ(restart[1], "80");
  EXPECT_EQ(restart[3], "81");
  // 128 blocks of 64 bytes in address order, each the image's bytes there.
  const auto blocks = Blocks();
  ASSERT_EQ(blocks.size(), 128u);
  for (size_t i = 0; i < blocks.size(); ++i) {
    ASSERT_EQ(blocks[i].address, static_cast<int>(i * 64));
    ASSERT_TRUE(std::equal(blocks[i].data.begin(), blocks[i].data.end(), data.begin() + i * 64));
  }
  // The reset carries the last block's address and its first four bytes.
  char reset[32];
  std::snprintf(reset, sizeof reset, "01C01F%02X%02X%02X%02X", data[0x1FC0], data[0x1FC1],
                data[0x1FC2], data[0x1FC3]);
  const auto at = std::find(lines.begin(), lines.end(), std::string(reset));
  ASSERT_NE(at, lines.end());
  EXPECT_EQ(at[-1].substr(0, 6), "02C01F") << "right after the last block";
  ExpectFlash(0, data, 0x2000);
  EXPECT_EQ(board.Flash()[0x2000], 0xFF) << "nothing beyond the last page";

  const auto events = Events();
  EXPECT_THAT(events, Contains("log: StartBootloader"));
  EXPECT_THAT(events, Contains("log: GetBootInfo"));
  uint32_t sum = 0x1FFF;
  for (uint8_t b : data) sum += b;
  EXPECT_THAT(events, Contains("log: Checksum: " + std::to_string(sum)));
  EXPECT_THAT(events, Contains("log: Flash size: 8191 / 31744 bytes"));
  EXPECT_THAT(events, Contains("status: Starting firmware update, flashing 8192 bytes..."));
  const size_t first = IndexOf("progress: 0x0000 (0 %) 0/8192");
  ASSERT_LT(first, events.size());
  const auto next = std::find_if(events.begin() + first + 1, events.end(),
                                 [](const std::string& e) { return e.starts_with("progress: "); });
  ASSERT_NE(next, events.end());
  EXPECT_EQ(*next, "progress: 0x0040 (1 %) 64/8192");
  EXPECT_THAT(events, Contains("progress: 0x1000 (50 %) 4096/8192"));
  EXPECT_THAT(events, Contains("progress: 0x1FC0 (99 %) 8128/8192"));
  // Success is told once the application answers again, which reads everything anew.
  const size_t resetting = IndexOf("log: Resetting...");
  const size_t connected = IndexOf("state: 1", resetting);
  EXPECT_LT(connected, events.size());
  EXPECT_LT(connected,
            IndexOf("status: Firmware successfully updated. Remove jumper (if set)!", resetting));
  EXPECT_EQ(host.Count("log: Transmission error!"), 0u);
  EXPECT_TRUE(
      board.WaitFor([](const auto& l) { return std::count(l.begin(), l.end(), "86") > 0; }, 5s));
  EXPECT_EQ(host.chooserShown, 1);
}

// Block addresses from `from` up to `to`, 64 apart.
std::vector<int> Span(int from, int to) {
  std::vector<int> out;
  for (int a = from; a < to; a += 64) out.push_back(a);
  return out;
}

std::vector<int> operator+(std::vector<int> a, const std::vector<int>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// One update of first .. last on a board set up for it: the blocks in the
// order they went over the wire and how the update ended.
struct UpdateCase {
  const char* name;
  sim::BoardOptions board;
  std::vector<std::tuple<Fault, int, std::string>> faults;
  int32_t first, last;
  std::vector<int> blocks;
  FirmwareOutcome outcome;
  size_t transferErrors = 0;
  bool jumper = false;  // set once the board runs its application
};

// Tests are listed by the case's name.
void PrintTo(const UpdateCase& c, std::ostream* os) {
  *os << c.name;
}

class FirmwareUpdateCaseTest : public FirmwareUpdateTest,
                               public ::testing::WithParamInterface<UpdateCase> {
 protected:
  FirmwareUpdateCaseTest() : FirmwareUpdateTest(GetParam().board) {}
};

TEST_P(FirmwareUpdateCaseTest, BlocksOutcomeAndFlash) {
  const UpdateCase& c = GetParam();
  for (const auto& [fault, count, command] : c.faults) board.InjectFault(fault, count, command);
  board.SetJumper(c.jumper);
  const auto data = Pattern(c.first, c.last);
  TempFile file(VxhBytes(c.first, c.last, data));
  Start();
  RequestUpdate({file.path()});
  const auto result = host.WaitResult(20s);
  ASSERT_TRUE(result);
  EXPECT_EQ(result->outcome, c.outcome);
  std::vector<int> addresses;
  for (const Block& b : Blocks()) addresses.push_back(b.address);
  EXPECT_EQ(addresses, c.blocks);
  EXPECT_EQ(board.BlocksIntoBootloader(), 0);
  EXPECT_EQ(host.Count("log: Transmission error!"), c.transferErrors);
  const bool updated = c.outcome == FirmwareOutcome::Updated;
  EXPECT_EQ(host.Count(updated ? "status: Firmware successfully updated. Remove jumper (if set)!"
                               : "status: Firmware update failed!"),
            1u);
  // Lost acknowledgements included, the board wrote every block it was sent.
  ExpectFlash(c.first, data, c.blocks.back() + 64);
}

using enum FirmwareOutcome;
const sim::BoardOptions kBoard{.rows = 2};

// clang-format off
INSTANTIATE_TEST_SUITE_P(Updates, FirmwareUpdateCaseTest, ::testing::Values(
    // "last" is inclusive: on a page boundary it opens one more page.
    UpdateCase{"LastOnAPageBoundary", kBoard, {}, 0x40, 0x80, Span(0, 0x100), Updated},
    // 32768 bytes of flash, the last 1024 the bootloader's: 0x7BFF is the last byte.
    UpdateCase{"EndingJustBelowTheBootloader", kBoard, {}, 0x7000, 0x7BFF, Span(0x7000, 0x7C00),
               Updated},
    // The bootloader starts inside a 128-byte page: no block reaches it.
    UpdateCase{"BootloaderInsideAPage", {.rows = 2, .flashSize = 32768 + 64}, {}, 0x7C00, 0x7C3F,
               {0x7C00}, Updated},
    UpdateCase{"PagesBelow128BytesCountAs128", {.rows = 2, .pageSize = 64}, {}, 0x40, 0x7F,
               Span(0, 0x80), Updated},
    UpdateCase{"ZeroAcknowledgements", kBoard, {{Fault::ZeroAck, 0, "02"}}, 0, 0x1FF,
               Span(0, 0x200), Updated},
    UpdateCase{"ALostBlockSentAgain", kBoard, {{Fault::Silence, 1, "024000"}}, 0, 0x1FF,
               Span(0, 0x80) + std::vector<int>{0x40} + Span(0x80, 0x200), Updated},
    UpdateCase{"TenFailuresOfOneBlock", kBoard, {{Fault::Silence, 10, "024000"}}, 0, 0x1FF,
               Span(0, 0x40) + std::vector<int>(10, 0x40) + Span(0x80, 0x200), Failed, 1},
    UpdateCase{"AnUnansweredReset", kBoard, {{Fault::Silence, 1, "01"}}, 0, 0x7F, Span(0, 0x80),
               Failed},
    UpdateCase{"BackInTheBootloaderByItsJumper", kBoard, {}, 0, 0x7F, Span(0, 0x80), Failed, 0,
               true}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST_F(FirmwareUpdateTest, AnImageReachingTheBootloaderIsRefusedAndTheBoardGoesBack) {
  TempFile tooLarge(VxhBytes(0x7000, 0x7C00, Pattern(0x7000, 0x7C00)));
  Start();
  RequestUpdate({tooLarge.path()});
  const auto result = host.WaitResult();
  ASSERT_TRUE(result);
  EXPECT_EQ(result->outcome, FirmwareOutcome::Refused);
  EXPECT_THAT(Events(), Contains("log: Flash size: 31744 / 31744 bytes"));
  EXPECT_THAT(Events(), Contains("status: Error: File is 1 bytes too big!"));
  EXPECT_EQ(host.chooserShown, 2) << "the chooser came back";
  EXPECT_TRUE(Blocks().empty());
  EXPECT_THAT(board.Lines(), Contains("01000000000000"));
  ASSERT_TRUE(Connected(2)) << "back in the application";
  EXPECT_EQ(host.Count("status: Firmware update failed!"), 0u);
  EXPECT_EQ(board.Flash()[0x7000], 0xFF);
}

TEST_F(FirmwareUpdateTest, ARefusedFileIsFollowedByTheNextChoice) {
  TempFile bad(VxhBytes(0, 0xFF, Pattern(0, 0xFF), 1), "Velmarinex2x4-bad.vxh");
  const auto data = Pattern(0, 0x7F);
  TempFile good(VxhBytes(0, 0x7F, data));
  Start();
  RequestUpdate({bad.path(), good.path()});
  const auto result = host.WaitResult();
  ASSERT_TRUE(result);
  EXPECT_EQ(result->outcome, FirmwareOutcome::Updated);
  EXPECT_EQ(result->file, good.path());
  EXPECT_EQ(Blocks().size(), 2u);
  ExpectFlash(0, data, 0x80);
}

class FirmwareOddPageTest : public FirmwareUpdateTest {
 protected:
  FirmwareOddPageTest() : FirmwareUpdateTest({.rows = 2, .pageSize = 96}) {}
};

TEST_F(FirmwareOddPageTest, APageSizeThatIsNoPowerOfTwoRefusesTheUpdate) {
  TempFile file(VxhBytes(0, 0xFF, Pattern(0, 0xFF)));
  Start();
  RequestUpdate({file.path()});
  const auto result = host.WaitResult();
  ASSERT_TRUE(result);
  EXPECT_EQ(result->outcome, FirmwareOutcome::Refused);
  EXPECT_EQ(host.Count("status: Error: Page size 96 is not a power of two!"), 1u);
  EXPECT_EQ(host.chooserShown, 0) << "no file is asked for";
  EXPECT_TRUE(Blocks().empty());
  EXPECT_THAT(board.Lines(), Contains("01000000000000"));
}

TEST_F(FirmwareUpdateTest, StoppingMidTransferSendsNoResetAndSaysWhereTheBoardIs) {
  TempFile file(VxhBytes(0, 0x1FFF, Pattern(0, 0x1FFF)));
  host.onProgress = [&](int64_t done) {
    if (done == 0x400) worker->Terminate();
  };
  Start();
  RequestUpdate({file.path()});
  const auto result = host.WaitResult();
  ASSERT_TRUE(result);
  EXPECT_EQ(result->outcome, FirmwareOutcome::Stopped);
  ASSERT_TRUE(worker->WaitClosed(5s));
  const auto blocks = Blocks();
  ASSERT_EQ(blocks.size(), 16u) << "the block after the request is not sent";
  for (const auto& l : board.Lines()) EXPECT_FALSE(l.starts_with("01")) << l;
  EXPECT_TRUE(board.InBootloader());
  EXPECT_EQ(host.Count("log: Firmware update stopped. The board stays in its bootloader."), 1u);
  EXPECT_EQ(host.Count("log: Resetting..."), 0u);
  EXPECT_EQ(host.Count("status: Firmware update failed!"), 0u);
}

class FirmwareBootloaderBoardTest : public FirmwareUpdateTest {
 protected:
  FirmwareBootloaderBoardTest() : FirmwareUpdateTest({.rows = 2, .inBootloader = true}) {}
};

TEST_F(FirmwareBootloaderBoardTest, ABoardAlreadyInItsBootloaderIsOfferedTheUpdateByItself) {
  const auto data = Pattern(0, 0x3FF);
  TempFile file(VxhBytes(0, 0x3FF, data));
  host.files.push_back(file.path());
  Start();
  ASSERT_TRUE(host.WaitForEvent("status: Connected to Velmarinex bootloader on " + port, 5s));
  const auto result = host.WaitResult();
  ASSERT_TRUE(result);
  EXPECT_EQ(result->outcome, FirmwareOutcome::Updated);
  EXPECT_THAT(board.Lines(), ::testing::Not(Contains("7F00")));
  EXPECT_EQ(Blocks().size(), 16u);
  ASSERT_TRUE(Connected());
  ExpectFlash(0, data, 0x400);
}

class FirmwareWrongVersionTest : public FirmwareUpdateTest {
 protected:
  FirmwareWrongVersionTest()
      : FirmwareUpdateTest({.rows = 2, .version = 3, .versionAfterUpdate = 4}) {}
};

TEST_F(FirmwareWrongVersionTest, AnotherFirmwareVersionIsTheWayToTheRightOne) {
  const auto data = Pattern(0, 0xFF);
  TempFile file(VxhBytes(0, 0xFF, data));
  host.files.push_back(file.path());
  Start();
  ASSERT_TRUE(host.WaitForEvent(
      "status: Velmarinex 2.x.3 on " + port +
          " detected (different firmware version). Please use the correct software version or "
          "update the firmware (see menu \"File\")!",
      5s));
  store.Raise(request::Bootloader);
  const auto result = host.WaitResult();
  ASSERT_TRUE(result);
  EXPECT_EQ(result->outcome, FirmwareOutcome::Updated);
  EXPECT_THAT(board.Lines(), Contains("7F00"));
  ASSERT_TRUE(Connected());
  ExpectFlash(0, data, 0x100);
}

class FirmwareForeignHardwareTest : public FirmwareUpdateTest {
 protected:
  FirmwareForeignHardwareTest() : FirmwareUpdateTest({.rows = 2, .type = 7, .version = 1}) {}
};

TEST_F(FirmwareForeignHardwareTest, IsNeverPutIntoTheBootloader) {
  // The update is asked for at the first moment the identification is known.
  host.onIdentified = [&](uint8_t) { store.Raise(request::Bootloader); };
  Start();
  ASSERT_TRUE(worker->WaitClosed(5s));
  EXPECT_EQ(
      host.Count(
          "status: Different hardware \"Ostrana 2.x\" detected. Please use the correct software!"),
      1u);
  for (const auto& l : board.Lines()) EXPECT_EQ(l, "80");
  EXPECT_FALSE(board.InBootloader());
  EXPECT_TRUE(host.results.empty());
}

}  // namespace
}  // namespace vmx
