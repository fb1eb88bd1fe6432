// The worker's own rules with a scripted Bluetooth stack: the retries and
// their order, what a failure leaves behind, and how a run ends early.
#include "bluetooth/discover.h"

#include <gmock/gmock.h>

#include "lang/catalogue.h"
#include "tests/bluetooth/fake_binder.h"
#include "tests/bluetooth/fake_bluetooth.h"
#include "tests/bluetooth/recording_host.h"

namespace vmx::testing {
namespace {

using namespace std::chrono_literals;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::Not;

class DiscoverTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetCurrentTable(std::make_shared<const LanguageTable>(LanguageTable::Parse(BuiltInTable(Language::English))));
  }
  std::vector<std::string> Run(bool install) {
    FakeBinder binder(binderState);
    auto worker = TthdDiscover::Create(install, bluetooth, binder, host, timing);
    EXPECT_TRUE(worker->WaitFinished(10s));
    return host.Lines();
  }
  static long Count(const std::vector<std::string>& log, const std::string& line) {
    return std::count(log.begin(), log.end(), line);
  }

  FakeBluetooth bluetooth;
  std::shared_ptr<FakeBinderState> binderState = std::make_shared<FakeBinderState>();
  RecordingHost host;
  DiscoverTiming timing{.inquiry = 1ms, .retryWait = 1ms};
};

TEST_F(DiscoverTest, FailedReadingsAreRetriedTenTimesThenTheNextDeviceIsTried) {
  bluetooth.Add("00:11:22:AA:BB:01", "Gone");
  bluetooth.Add("00:11:22:AA:BB:02", "Velmarinex2");
  binderState->records["00:11:22:AA:BB:02"] = 4;
  bluetooth.readError = [](const std::string& id) -> BtResult {
    if (id != "/dev_00:11:22:AA:BB:01") return {};
    return BtError{"org.freedesktop.DBus.Error.UnknownObject", "Method \"GetAll\" doesn't exist"};
  };
  const auto log = Run(true);
  EXPECT_EQ(Count(log,
                  "Bluetooth error org.freedesktop.DBus.Error.UnknownObject: \"Method "
                  "\"GetAll\" doesn't exist\"."),
            10);
  EXPECT_THAT(log, Not(Contains("\"Gone\"")));
  EXPECT_THAT(log, Contains("Installation started. A new serial port should appear in a few "
                            "seconds."));
  EXPECT_THAT(bluetooth.pins, ElementsAre("7391"));
}

TEST_F(DiscoverTest, BoardPairedElsewhereKeepsItsPairingWhenNoPortCanBeBound) {
  bluetooth.Add("00:11:22:AA:BB:CC", "Velmarinex2", true);
  binderState->records["00:11:22:AA:BB:CC"] = 1;
  binderState->bindError = BtError{"EPERM", "Operation not permitted"};
  const auto log = Run(true);
  EXPECT_EQ(Count(log, "Bluetooth error EPERM: \"Operation not permitted\"."), 5);
  EXPECT_EQ(binderState->binds, 5);
  EXPECT_THAT(log, Not(Contains("Uninstalling \"Velmarinex2\"...")));
  EXPECT_EQ(bluetooth.removals, 0);
  EXPECT_TRUE(bluetooth.pins.empty());
}

TEST_F(DiscoverTest, RemovalReleasesThePortFirstAndRetriesFiveTimes) {
  bluetooth.Add("00:11:22:AA:BB:CC", "Velmarinex2", true);
  binderState->bindings = {{0, "00:11:22:aa:bb:cc", 1}, {1, "00:11:22:AA:BB:DD", 1}};
  bluetooth.removeError = BtError{"org.bluez.Error.Failed", "Not Supported"};
  bool releasedFirst = true;
  bluetooth.onRemove = [&](const std::string&) {
    for (const RfcommBinding& b : binderState->Bindings())
      if (b.id == 0) releasedFirst = false;
  };
  const auto log = Run(false);
  EXPECT_EQ(Count(log, "Bluetooth error org.bluez.Error.Failed: \"Not Supported\"."), 5);
  EXPECT_THAT(log, Not(Contains("Uninstall successfull.")));
  EXPECT_EQ(bluetooth.removals, 5);
  EXPECT_TRUE(releasedFirst);
  ASSERT_EQ(binderState->Bindings().size(), 1u) << "the other device's port stays";
  EXPECT_EQ(binderState->Bindings()[0].id, 1);
}

TEST_F(DiscoverTest, BoardDisconnectedDuringTheReadingsIsRemoved) {
  bluetooth.Add("00:11:22:AA:BB:CC", "Velmarinex2", true).connected = true;
  bluetooth.connectedReadings["/dev_00:11:22:AA:BB:CC"] = 3;
  const auto log = Run(false);
  EXPECT_EQ(Count(log, "Device is currently connected. Trying again..."), 3);
  EXPECT_EQ(bluetooth.reads["/dev_00:11:22:AA:BB:CC"], 10) << "always ten readings";
  EXPECT_THAT(log, Contains("Uninstall successfull."));
}

TEST_F(DiscoverTest, AnErrorRaisedEndsTheRunWithItsText) {
  bluetooth.throwOnList = true;
  FakeBinder binder(binderState);
  auto worker = TthdDiscover::Create(false, bluetooth, binder, host, timing);
  ASSERT_TRUE(worker->WaitFinished(5s));
  EXPECT_TRUE(worker->Finished());
  EXPECT_THAT(host.Lines(), ElementsAre("Listing installed devices...", "Out of memory"));
}

TEST_F(DiscoverTest, ClosingHostAndTerminationEndTheRunAtOnce) {
  timing.inquiry = 30s;
  FakeBinder binder(binderState);
  auto worker = TthdDiscover::Create(true, bluetooth, binder, host, timing);
  std::this_thread::sleep_for(20ms);
  host.Close();
  worker->Terminate();
  EXPECT_TRUE(worker->WaitFinished(1s));
  EXPECT_THAT(host.Lines(), ElementsAre("Scanning for devices..."));

  // A host that closes makes the run end by itself at its next line.
  RecordingHost closed;
  closed.Close();
  bluetooth.Add("00:11:22:AA:BB:CC", "Velmarinex2");
  auto second = TthdDiscover::Create(true, bluetooth, binder, closed, {.inquiry = 1ms});
  EXPECT_TRUE(second->WaitFinished(1s));
  EXPECT_TRUE(bluetooth.pins.empty());
}

TEST(DiscoverTexts, NoBluetoothTextSendsTheUserToWindows) {
  for (Language language : {Language::English, Language::German}) {
    SetCurrentTable(
        std::make_shared<const LanguageTable>(LanguageTable::Parse(BuiltInTable(language))));
    for (const char* key : {"WindowsError", "DiscoveryCompleted", "TryColdStart",
                            "RemovalCompleted", "BluetoothAvailable", "InstallationStarted"}) {
      const std::string text = LangText(key);
      EXPECT_EQ(text.find("Windows"), std::string::npos) << key;
      EXPECT_EQ(text.find("control pan"), std::string::npos) << key;
      EXPECT_EQ(text.find("Systemsteuerung"), std::string::npos) << key;
    }
  }
  EXPECT_EQ(LangFormat("WindowsError", {"EPERM", "Operation not permitted"}),
            "Bluetooth-Fehler EPERM: \"Operation not permitted\".");
  EXPECT_EQ(LangText("TryColdStart"),
            "Stromversorgung ausschalten, dann erneut versuchen, eventuell den Bluetooth-Dienst "
            "neu starten.");
  SetCurrentTable(std::make_shared<const LanguageTable>(LanguageTable::Parse(BuiltInTable(Language::English))));
}

}  // namespace
}  // namespace vmx::testing
