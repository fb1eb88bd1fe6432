// Connection rules against a recording stand-in for the link worker.
#include "app/connection.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "persist/memory_preferences.h"
#include "tests/app/fake_port_source.h"

namespace vmx {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Not;

struct WorkerRecord {
  std::string port;
  bool debug = false;
  bool running = true;
  bool terminated = false;
  std::vector<std::string> retargets;
};

class RecordingSession final : public LinkSession {
 public:
  explicit RecordingSession(WorkerRecord& r) : r_(r) {}
  bool Running() const override { return r_.running; }
  void SetPort(const std::string& port, bool) override { r_.retargets.push_back(port); }
  void Terminate() override { r_.terminated = true; }
  void Abort() override { r_.terminated = true; }
  bool WaitClosed(std::chrono::milliseconds) override { return !r_.running; }

 private:
  WorkerRecord& r_;
};

class ConnectionTest : public ::testing::Test {
 protected:
  ConnectionTest()
      : connection(ports, prefs,
                   {[this](const std::string& l) { log.push_back(l); },
                    [this](const std::string& p) { backups.push_back(p); },
                    [this](const std::string& port, bool debug) {
                      workers.push_back(std::make_unique<WorkerRecord>());
                      workers.back()->port = port;
                      workers.back()->debug = debug;
                      return std::make_unique<RecordingSession>(*workers.back());
                    }}) {}

  void TwoPorts() {
    ports.devices = {{"/dev/rfcomm0", "rfcomm 00:11:22:AA:BB:CC"}, {"/dev/ttyS0", "serial8250"}};
  }
  void ConnectTo(const std::string& port) {
    connection.portName = port;
    connection.StartWorker();
  }
  void WorkerEnds() { workers.back()->running = false; }

  testing::FakePortSource ports;
  MemoryPreferences prefs;
  std::vector<std::string> log;
  std::vector<std::string> backups;
  std::vector<std::unique_ptr<WorkerRecord>> workers;
  Connection connection;
};

TEST_F(ConnectionTest, ListingKeepsTheSystemsOrderAndLogsEachEntry) {
  TwoPorts();
  connection.ListPorts();
  EXPECT_THAT(connection.portList,
              ElementsAre("/dev/rfcomm0 (rfcomm 00:11:22:AA:BB:CC)", "/dev/ttyS0 (serial8250)"));
  EXPECT_THAT(log, ElementsAre("Listing seral ports...", "/dev/rfcomm0 (rfcomm 00:11:22:AA:BB:CC)",
                               "/dev/ttyS0 (serial8250)"));
}

TEST_F(ConnectionTest, AFailedListingKeepsTheOldList) {
  TwoPorts();
  connection.ListPorts();
  ports.failing = true;
  log.clear();
  connection.ListPorts();
  EXPECT_EQ(connection.portList.size(), 2u);
  EXPECT_THAT(log, ElementsAre("Listing seral ports...", "Access denied"));

  connection.portList.clear();
  log.clear();
  connection.ListPorts();
  EXPECT_THAT(log,
              ElementsAre("Listing seral ports...", "Access denied", "No serial ports found."));
}

TEST_F(ConnectionTest, ArrivedDeviceConnectsToTheNewestPortWhileDisconnected) {
  TwoPorts();
  connection.DeviceNotice(Connection::kDeviceArrival, 0);
  ASSERT_EQ(workers.size(), 1u);
  EXPECT_EQ(workers[0]->port, "/dev/ttyS0 (serial8250)");
  EXPECT_EQ(connection.portName, "/dev/ttyS0 (serial8250)");
  EXPECT_THAT(log, Contains("New serial port detected: /dev/ttyS0 (serial8250)"));

  connection.DeviceNotice(Connection::kDeviceArrival, 0);
  EXPECT_EQ(workers.size(), 1u) << "a running worker is left alone";
  WorkerEnds();
  connection.DeviceNotice(0x8004, 0);
  EXPECT_EQ(workers.size(), 1u) << "only arrivals count";
}

TEST_F(ConnectionTest, ArrivalWithoutPortsDoesNothingAndDebugLogsTheNotice) {
  connection.debugMessages = true;
  connection.DeviceNotice(Connection::kDeviceArrival, 7);
  EXPECT_THAT(workers, IsEmpty());
  EXPECT_EQ(log.front(), "WMDeviceChange 32768 7");
}

TEST_F(ConnectionTest, OpeningTheMenuWhileDisconnectedClearsThePort) {
  TwoPorts();
  connection.portName = "/dev/ttyS0 (serial8250)";
  EXPECT_EQ(connection.MenuOpening(), std::nullopt);
  EXPECT_EQ(connection.portName, "");
}

TEST_F(ConnectionTest, MenuTicksTheRunningPort) {
  TwoPorts();
  ConnectTo("/dev/ttyS0 (serial8250)");
  EXPECT_EQ(connection.MenuOpening(), 1u);
  EXPECT_EQ(connection.portName, "/dev/ttyS0 (serial8250)");
}

TEST_F(ConnectionTest, ChoosingTheCurrentPortDoesNothing) {
  TwoPorts();
  connection.MenuOpening();
  connection.SelectPort(1);
  ASSERT_EQ(workers.size(), 1u);
  connection.SelectPort(1);
  EXPECT_EQ(workers.size(), 1u);
  EXPECT_THAT(workers[0]->retargets, IsEmpty());
}

TEST_F(ConnectionTest, ChoosingAnotherPortRetargetsTheRunningWorker) {
  TwoPorts();
  connection.MenuOpening();
  connection.SelectPort(0);
  connection.SelectPort(1);
  ASSERT_EQ(workers.size(), 1u) << "never a second worker";
  EXPECT_THAT(workers[0]->retargets, ElementsAre("/dev/ttyS0 (serial8250)"));
  EXPECT_THAT(backups, ElementsAre("", "/dev/rfcomm0 (rfcomm 00:11:22:AA:BB:CC)"))
      << "the backup is taken for the port being left";
}

TEST_F(ConnectionTest, ChoosingAPortAfterTheWorkerEndedStartsAFreshOne) {
  TwoPorts();
  connection.MenuOpening();
  connection.SelectPort(0);
  WorkerEnds();
  connection.SelectPort(1);
  ASSERT_EQ(workers.size(), 2u);
  EXPECT_EQ(workers[1]->port, "/dev/ttyS0 (serial8250)");
}

TEST_F(ConnectionTest, DisconnectByTheUserForgetsTheRememberedPort) {
  ConnectTo("/dev/ttyS0 (serial8250)");
  connection.SavePort();
  connection.DisconnectAndForget();
  EXPECT_TRUE(workers[0]->terminated);
  EXPECT_EQ(connection.portName, "");
  EXPECT_FALSE(prefs.exists);
  EXPECT_THAT(backups, ElementsAre("/dev/ttyS0 (serial8250)"));
}

TEST_F(ConnectionTest, ReconnectPrefersTheRememberedPort) {
  TwoPorts();
  prefs.WritePort("/dev/rfcomm0 (rfcomm 00:11:22:AA:BB:CC)");
  connection.Reconnect();
  ASSERT_EQ(workers.size(), 1u);
  EXPECT_EQ(workers[0]->port, "/dev/rfcomm0 (rfcomm 00:11:22:AA:BB:CC)");
  EXPECT_THAT(log, Contains("Read from registry: /dev/rfcomm0 (rfcomm 00:11:22:AA:BB:CC)"));
  connection.Reconnect();
  EXPECT_EQ(workers.size(), 1u) << "nothing happens while a worker runs";
}

TEST_F(ConnectionTest, ReconnectFallsBackToTheNewestPort) {
  TwoPorts();
  prefs.WritePort("/dev/ttyUSB7 (gone)");
  connection.Reconnect();
  ASSERT_EQ(workers.size(), 1u);
  EXPECT_EQ(workers[0]->port, "/dev/ttyS0 (serial8250)");
  EXPECT_THAT(log, Contains("Most recently added: /dev/ttyS0 (serial8250)"));
}

TEST_F(ConnectionTest, ReconnectWithoutPortsStaysDisconnected) {
  prefs.WritePort("/dev/ttyUSB7 (gone)");
  connection.Reconnect();
  EXPECT_THAT(workers, IsEmpty());
  EXPECT_EQ(connection.portName, "/dev/ttyUSB7 (gone)");
}

TEST_F(ConnectionTest, SuspendDisconnectsAndResumeReconnectsOnce) {
  ConnectTo("/dev/ttyS0 (serial8250)");
  EXPECT_EQ(connection.PowerNotice(Connection::kSuspend), 1);
  EXPECT_TRUE(workers[0]->terminated);
  WorkerEnds();
  connection.PowerNotice(8);
  connection.PowerNotice(Connection::kResumeAutomatic);
  ASSERT_EQ(workers.size(), 2u) << "the second resume code of one wake-up starts nothing";
  EXPECT_EQ(workers[1]->port, "/dev/ttyS0 (serial8250)");
  EXPECT_THAT(log, ElementsAre("System is  standby", "System is awaking from standby",
                               "System is awaking from standby"));
  EXPECT_THAT(backups, ElementsAre("/dev/ttyS0 (serial8250)"));
}

TEST_F(ConnectionTest, ResumeWithoutAPortAndOtherCodesDoNothing) {
  connection.debugMessages = true;
  EXPECT_EQ(connection.PowerNotice(Connection::kResumeAutomatic), 1);
  EXPECT_EQ(connection.PowerNotice(10), 1);
  EXPECT_THAT(workers, IsEmpty());
  EXPECT_THAT(log, ElementsAre("WMPowerBroadcast 18", "System is awaking from standby",
                               "WMPowerBroadcast 10"));
  EXPECT_THAT(log, Not(Contains("System is  standby")));
}

TEST_F(ConnectionTest, WorkersGetTheDebugFlag) {
  connection.debugMessages = true;
  ConnectTo("/dev/ttyS0");
  EXPECT_TRUE(workers[0]->debug);
}

}  // namespace
}  // namespace vmx
