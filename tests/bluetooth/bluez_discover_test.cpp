// The Bluetooth worker against BlueZ as python-dbusmock plays it on a private
// bus, with the RFCOMM step in a fake binder: installation and removal as a
// user would run them, checked by the log and by what bluetoothd was asked.
#include <gmock/gmock.h>

#include "bluetooth/bluez_bluetooth.h"
#include "bluetooth/discover.h"
#include "tests/bluetooth/fake_binder.h"
#include "tests/bluetooth/private_bluez.h"
#include "tests/bluetooth/recording_host.h"

namespace vmx::testing {
namespace {

using namespace std::chrono_literals;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Not;

constexpr const char* kBoard = "00:11:22:AA:BB:CC";
constexpr const char* kBoardPath = "/org/bluez/hci0/dev_00_11_22_AA_BB_CC";
constexpr const char* kSecond = "00:11:22:AA:BB:DD";
constexpr const char* kSecondPath = "/org/bluez/hci0/dev_00_11_22_AA_BB_DD";

const std::string kScanning = "Scanning for devices...";
const std::string kAdding = "Adding \"Velmarinex2\" to the system...";
const std::string kInstallingPort = "Installing serial port...";
const std::string kStarted =
    "Installation started. A new serial port should appear in a few seconds.";
const std::string kAvailable = "Is Bluetooth available and active?";
const std::string kScanFinished =
    "Scan finished. If the device could not be found, try again or use\r\n"
    "the desktop's Bluetooth settings or bluetoothctl for manual detection. The pairing code is "
    "always 7391";
const std::string kListing = "Listing installed devices...";
const std::string kUninstalling = "Uninstalling \"Velmarinex2\"...";
const std::string kUninstalled = "Uninstall successfull.";
const std::string kInUse = "Device is currently connected. Trying again...";
const std::string kRemovalFinished =
    "Scan finished. If the device could not be uninstalled, try again or use\r\n"
    "the desktop's Bluetooth settings or bluetoothctl to uninstall manually. The device needs to "
    "be disconnected.";

class BluezDiscoverTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!PrivateBluez::Available()) GTEST_SKIP() << "python3-dbusmock is not installed";
    bluez = std::make_unique<PrivateBluez>();
    ASSERT_TRUE(bluez->Ready());
    binderState = std::make_shared<FakeBinderState>();
  }

  // One whole run; the lines it logged.
  std::vector<std::string> RunWorker(bool install) {
    const size_t before = host.Lines().size();
    BluezBluetooth bluetooth(bluez->Address());
    FakeBinder binder(binderState);
    auto worker = TthdDiscover::Create(install, bluetooth, binder, host, timing);
    EXPECT_TRUE(worker->WaitFinished(60s));
    worker.reset();
    const std::vector<std::string> all = host.Lines();
    return {all.begin() + static_cast<long>(before), all.end()};
  }
  std::vector<std::string> Install() { return RunWorker(true); }
  std::vector<std::string> Remove() { return RunWorker(false); }
  static long Count(const std::vector<std::string>& log, const std::string& line) {
    return std::count(log.begin(), log.end(), line);
  }
  void Record(const char* address, int channel) {
    std::lock_guard g(binderState->lock);
    binderState->records[address] = channel;
  }

  std::unique_ptr<PrivateBluez> bluez;
  std::shared_ptr<FakeBinderState> binderState;
  RecordingHost host;
  DiscoverTiming timing{.inquiry = 100ms, .retryWait = 10ms};
};

TEST_F(BluezDiscoverTest, FindsPairsTrustsAndBindsTheBoard) {
  const QString adapter = bluez->AddAdapter();
  ASSERT_EQ(bluez->AddBoard(kBoard), kBoardPath);
  Record(kBoard, 3);

  EXPECT_THAT(Install(), ElementsAre(kScanning, "Detected 00:11:22:AA:BB:CC:", "\"Velmarinex2\"",
                                     kAdding, kInstallingPort, kStarted, kScanFinished));
  EXPECT_EQ(bluez->Property(kBoardPath, "Paired").toBool(), true);
  EXPECT_EQ(bluez->Property(kBoardPath, "Trusted").toBool(), true);
  const auto bindings = binderState->Bindings();
  ASSERT_EQ(bindings.size(), 1u);
  EXPECT_EQ(bindings[0].address, kBoard);
  EXPECT_EQ(bindings[0].channel, 3);
  EXPECT_EQ(host.Fronts(), 2) << "before pairing and before the serial port";

  // A classic search of its full time, stopped again.
  const auto filters = bluez->Calls(adapter, "SetDiscoveryFilter");
  ASSERT_EQ(filters.size(), 1);
  EXPECT_EQ(qdbus_cast<QVariantMap>(filters[0].value(0)).value("Transport").toString(), "bredr");
  EXPECT_EQ(bluez->Calls(adapter, "StartDiscovery").size(), 1);
  EXPECT_EQ(bluez->Calls(adapter, "StopDiscovery").size(), 1);
  // Our agent was there for this pairing only and never asked to be the default.
  EXPECT_EQ(bluez->Calls("/org/bluez", "RegisterAgent").size(), 1);
  EXPECT_EQ(bluez->Calls("/org/bluez", "UnregisterAgent").size(), 1);
  EXPECT_TRUE(bluez->Calls("/org/bluez", "RequestDefaultAgent").isEmpty());
}

TEST_F(BluezDiscoverTest, NoAdapterAndNoBluetoothd) {
  EXPECT_THAT(Install(),
              ElementsAre(kScanning,
                          "Bluetooth error org.bluez.Error.NoSuchAdapter: \"No Bluetooth adapter "
                          "found\".",
                          kAvailable, kScanFinished));
  EXPECT_THAT(Remove(), ElementsAre(kListing,
                                    "Bluetooth error org.bluez.Error.NoSuchAdapter: \"No "
                                    "Bluetooth adapter found\".",
                                    kRemovalFinished));

  // A bus without bluetoothd at all.
  PrivateBus empty;
  BluezBluetooth bluetooth(empty.Address());
  FakeBinder binder(binderState);
  RecordingHost own;
  TthdDiscover::Create(true, bluetooth, binder, own, timing)->WaitFinished(30s);
  const auto log = own.Lines();
  ASSERT_EQ(log.size(), 4u);
  EXPECT_THAT(log[1], ::testing::StartsWith(
                          "Bluetooth error org.freedesktop.DBus.Error.ServiceUnknown: \""));
  EXPECT_EQ(log[2], kAvailable);
  EXPECT_EQ(log[3], kScanFinished);
}

TEST_F(BluezDiscoverTest, AdapterSwitchedOff) {
  const QString adapter = bluez->AddAdapter();
  ASSERT_TRUE(bluez->SetPowered(adapter, false));
  ASSERT_FALSE(bluez->AddBoard(kBoard).isEmpty());
  EXPECT_THAT(Install(), ElementsAre(kScanning,
                                     "Bluetooth error org.bluez.Error.NotReady: \"The Bluetooth "
                                     "adapter is switched off\".",
                                     kAvailable, kScanFinished));
  EXPECT_TRUE(bluez->Calls(adapter, "StartDiscovery").isEmpty());
  EXPECT_TRUE(bluez->Calls(kBoardPath, "Pair").isEmpty());
}

TEST_F(BluezDiscoverTest, NameThatArrivesLateIsWaitedFor) {
  bluez->AddAdapter();
  ASSERT_FALSE(bluez->AddBoard(kBoard).isEmpty());
  ASSERT_TRUE(bluez->ForgetName(kBoardPath));
  Record(kBoard, 1);
  // A later reading brings the name: the alias (the address) is never taken for it.
  timing.retryWait = 300ms;
  BluezBluetooth bluetooth(bluez->Address());
  FakeBinder binder(binderState);
  host.Watch("No name was transmitted. Trying again...");
  auto worker = TthdDiscover::Create(true, bluetooth, binder, host, timing);
  ASSERT_TRUE(QTest::qWaitFor([&] { return host.Seen() >= 2; }, 10000));
  ASSERT_TRUE(bluez->SendName(kBoardPath, "Velmarinex2"));
  ASSERT_TRUE(worker->WaitFinished(30s));
  const auto log = host.Lines();
  const auto named = std::find(log.begin(), log.end(), "\"Velmarinex2\"");
  ASSERT_NE(named, log.end());
  EXPECT_EQ(*(named - 1), "No name was transmitted. Trying again...");
  EXPECT_EQ(*(named + 1), kAdding);
  EXPECT_THAT(log, Contains(kStarted));
}

TEST_F(BluezDiscoverTest, NameNeverSentLeavesTheDeviceAfterTenReadings) {
  bluez->AddAdapter();
  ASSERT_FALSE(bluez->AddBoard(kBoard).isEmpty());
  ASSERT_TRUE(bluez->ForgetName(kBoardPath));
  const auto log = Install();
  EXPECT_EQ(Count(log, "No name was transmitted. Trying again..."), 10);
  EXPECT_THAT(log, Not(Contains(kAdding)));
  EXPECT_EQ(log.back(), kScanFinished);
}

TEST_F(BluezDiscoverTest, NearNamesAreNotBoards) {
  bluez->AddAdapter();
  bluez->AddBoard("00:11:22:AA:BB:01", "Velmarinex2 ");
  bluez->AddBoard("00:11:22:AA:BB:02", "velmarinex2");
  bluez->AddBoard("00:11:22:AA:BB:03", "Velmarinex21");
  bluez->AddBoard("00:11:22:AA:BB:04", " Velmarinex2");
  const auto log = Install();
  EXPECT_THAT(log, Contains("\"Velmarinex2 \""));
  EXPECT_THAT(log, Contains("\"velmarinex2\""));
  EXPECT_THAT(log, Not(Contains(::testing::StartsWith("Adding"))));
  EXPECT_EQ(bluez->Calls("/org/bluez", "RegisterAgent").size(), 0);
  EXPECT_THAT(binderState->Bindings(), IsEmpty());
}

TEST_F(BluezDiscoverTest, AlreadyPairedBoardGetsItsMissingPortButNoNewPairing) {
  bluez->AddAdapter();
  ASSERT_FALSE(bluez->AddBoard(kBoard).isEmpty());
  ASSERT_FALSE(bluez->AddBoard(kSecond).isEmpty());
  ASSERT_TRUE(bluez->MarkPaired(kBoardPath));
  ASSERT_TRUE(bluez->MarkPaired(kSecondPath));
  ASSERT_TRUE(bluez->SetConnected(kSecondPath, true));
  Record(kBoard, 2);
  {
    // The second board still has its port from an earlier run.
    std::lock_guard g(binderState->lock);
    binderState->bindings.push_back({0, kSecond, 1});
  }

  const auto log = Install();
  EXPECT_THAT(log,
              ElementsAre(kScanning, "Detected 00:11:22:AA:BB:CC:", "\"Velmarinex2\", installed",
                          kInstallingPort, kStarted, "Detected 00:11:22:AA:BB:DD:",
                          "\"Velmarinex2\", installed, connected", kScanFinished));
  EXPECT_TRUE(bluez->Calls(kBoardPath, "Pair").isEmpty());
  EXPECT_TRUE(bluez->Calls(kSecondPath, "Pair").isEmpty());
  const auto bindings = binderState->Bindings();
  ASSERT_EQ(bindings.size(), 2u);
  EXPECT_EQ(bindings[1].address, kBoard);
  EXPECT_EQ(bindings[1].id, 1);
}

TEST_F(BluezDiscoverTest, WrongPinFiveTimesLeavesTheBoardUnpaired) {
  bluez->AddAdapter();
  ASSERT_FALSE(bluez->AddBoard(kBoard, "Velmarinex2", "0000").isEmpty());
  Record(kBoard, 1);
  const std::string failed =
      "Bluetooth error org.bluez.Error.AuthenticationFailed: \"Authentication Failed\".";
  EXPECT_THAT(Install(),
              ElementsAre(kScanning, "Detected 00:11:22:AA:BB:CC:", "\"Velmarinex2\"", kAdding,
                          failed, failed, failed, failed, failed, kScanFinished));
  EXPECT_EQ(bluez->Calls(kBoardPath, "Pair").size(), 5);
  EXPECT_EQ(host.Fronts(), 5);
  EXPECT_FALSE(bluez->Property(kBoardPath, "Paired").toBool());
  EXPECT_FALSE(bluez->Property(kBoardPath, "Trusted").toBool());
  EXPECT_EQ(bluez->Calls("/org/bluez", "UnregisterAgent").size(), 5);
}

TEST_F(BluezDiscoverTest, NoSerialPortRecordUninstallsTheFreshPairing) {
  bluez->AddAdapter();
  ASSERT_FALSE(
      bluez->AddBoard(kBoard, "Velmarinex2", "7391", {"00001200-0000-1000-8000-00805f9b34fb"})
          .isEmpty());
  const std::string missing =
      "Bluetooth error org.bluez.Error.DoesNotExist: \"The device offers no serial port "
      "service\".";
  EXPECT_THAT(Install(),
              ElementsAre(kScanning, "Detected 00:11:22:AA:BB:CC:", "\"Velmarinex2\"", kAdding,
                          kInstallingPort, missing, missing, missing, missing, missing,
                          kUninstalling, kUninstalled,
                          "Switch off power supply, then try again, possibly restart the "
                          "Bluetooth service.",
                          kScanFinished));
  EXPECT_FALSE(bluez->Exists(kBoardPath));
  EXPECT_THAT(binderState->Bindings(), IsEmpty());
}

TEST_F(BluezDiscoverTest, ListedServiceWithoutRecordIsRetriedAndUninstalled) {
  bluez->AddAdapter();
  ASSERT_FALSE(bluez->AddBoard(kBoard).isEmpty());  // the binder knows no record for it
  const auto log = Install();
  EXPECT_EQ(Count(log,
                  "Bluetooth error org.bluez.Error.DoesNotExist: \"No serial port service "
                  "record\"."),
            5);
  EXPECT_THAT(log, Contains(kUninstalled));
  EXPECT_FALSE(bluez->Exists(kBoardPath));
}

TEST_F(BluezDiscoverTest, BoardConnectedThroughoutRemovalIsKept) {
  bluez->AddAdapter();
  ASSERT_FALSE(bluez->AddBoard(kBoard).isEmpty());
  ASSERT_TRUE(bluez->MarkPaired(kBoardPath));
  ASSERT_TRUE(bluez->SetConnected(kBoardPath, true));
  const auto log = Remove();
  std::vector<std::string> expected = {kListing, "00:11:22:AA:BB:CC, \"Velmarinex2\", connected"};
  expected.insert(expected.end(), 10, kInUse);
  expected.push_back(kRemovalFinished);
  EXPECT_EQ(log, expected);
  EXPECT_TRUE(bluez->Exists(kBoardPath));
}

TEST_F(BluezDiscoverTest, TwoBoardsAreInstalledAndRemovedWithTheirPorts) {
  const QString adapter = bluez->AddAdapter();
  ASSERT_FALSE(bluez->AddBoard(kBoard).isEmpty());
  ASSERT_FALSE(bluez->AddBoard(kSecond).isEmpty());
  bluez->AddDevice("00:11:22:AA:BB:EE", "Phone");
  Record(kBoard, 1);
  Record(kSecond, 2);

  const auto installed = Install();
  EXPECT_EQ(Count(installed, kStarted), 2);
  EXPECT_THAT(installed, Contains("\"Phone\""));
  const auto bindings = binderState->Bindings();
  ASSERT_EQ(bindings.size(), 2u);
  EXPECT_EQ(bindings[0].address, kBoard);
  EXPECT_EQ(bindings[1].address, kSecond);
  EXPECT_EQ(bindings[1].channel, 2);

  const auto removed = Remove();
  EXPECT_THAT(
      removed,
      ElementsAre(kListing, "00:11:22:AA:BB:CC, \"Velmarinex2\"", kUninstalling, kUninstalled,
                  "00:11:22:AA:BB:DD, \"Velmarinex2\"", kUninstalling, kUninstalled,
                  "00:11:22:AA:BB:EE, \"Phone\", not installed", kRemovalFinished));
  EXPECT_FALSE(bluez->Exists(kBoardPath));
  EXPECT_FALSE(bluez->Exists(kSecondPath));
  EXPECT_TRUE(bluez->Exists("/org/bluez/hci0/dev_00_11_22_AA_BB_EE"));
  EXPECT_THAT(binderState->Bindings(), IsEmpty());
  EXPECT_EQ(bluez->Calls(adapter, "RemoveDevice").size(), 2);
}

TEST_F(BluezDiscoverTest, TerminateWhilePairingIsPendingEndsWithinASecond) {
  bluez->AddAdapter();
  ASSERT_FALSE(bluez->AddDevice(kBoard, "Velmarinex2").isEmpty());
  ASSERT_TRUE(bluez->HangingPairing(kBoardPath));
  BluezBluetooth bluetooth(bluez->Address());
  FakeBinder binder(binderState);
  host.Watch(kAdding);
  auto worker = TthdDiscover::Create(true, bluetooth, binder, host, timing);
  ASSERT_TRUE(QTest::qWaitFor([&] { return host.Seen() >= 1; }, 10000));
  std::this_thread::sleep_for(200ms);  // Pair is on its way to the board
  const auto asked = std::chrono::steady_clock::now();
  worker->Terminate();
  EXPECT_TRUE(worker->WaitFinished(1s));
  EXPECT_LT(std::chrono::steady_clock::now() - asked, 1s);
  worker.reset();
  EXPECT_EQ(host.Lines().back(), kAdding) << "nothing more after the termination";
}

}  // namespace
}  // namespace vmx::testing
