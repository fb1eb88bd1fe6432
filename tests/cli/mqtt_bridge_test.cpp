// velmarinex-cli mqtt as a keeper runs it: a real mosquitto broker on a free
// local port, the simulated board on a real pty, and a client of the test's
// own that reads the topics and sends the commands a home automation would.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <set>
#include <sstream>

#include "tests/cli/mqtt_helpers.h"
#include "tests/support/board_on_pty.h"

namespace vmx::testing {
namespace {

using ::testing::HasSubstr;

constexpr const char* kBase = "aquarium/board1/";

double Number(const std::string& text) {
  char* end = nullptr;
  const double v = std::strtod(text.c_str(), &end);
  return end != text.c_str() && *end == 0 ? v : -1e9;
}

class MqttBridgeTest : public ::testing::Test, protected BoardOnPty {
 protected:
  MqttBridgeTest()
      : BoardOnPty({.rows = 4}, {.linkName = "board"}),
        broker(std::make_unique<Broker>(VMX_MOSQUITTO_PROGRAM, folder.str(), FreeLocalPort())) {}
  void SetUp() override {
    if (std::string(VMX_MOSQUITTO_PROGRAM).empty()) GTEST_SKIP() << "no mosquitto broker";
    ASSERT_TRUE(broker->Start()) << ReadAll(folder / "broker.log");
    probe = std::make_unique<Probe>(broker->Port());
  }

  std::unique_ptr<Program> StartBridge(std::vector<std::string> extra = {},
                                       const std::string& log = "bridge.log") {
    std::vector<std::string> args = {VMX_CLI_PROGRAM,
                                     "mqtt",
                                     port,
                                     "--broker",
                                     "127.0.0.1:" + std::to_string(broker->Port()),
                                     "--prefix",
                                     "aquarium",
                                     "--id",
                                     "board1"};
    args.insert(args.end(), extra.begin(), extra.end());
    return std::make_unique<Program>(args, Launch{.logFile = folder / log});
  }
  void Start(std::vector<std::string> extra = {}) {
    bridge = StartBridge(std::move(extra));
    ASSERT_TRUE(probe->WaitFor(Topic("availability"), "online")) << Log();
  }
  static std::string Topic(const std::string& relative) { return kBase + relative; }
  void Send(const std::string& relative, const std::string& payload) {
    probe->Publish(Topic("set/" + relative), payload);
  }
  std::string Log() const { return ReadAll(folder / "bridge.log"); }
  size_t LogCount(const std::string& text) const {
    const std::string log = Log();
    size_t n = 0;
    for (size_t at = log.find(text); at != std::string::npos; at = log.find(text, at + 1)) ++n;
    return n;
  }
  bool WaitForSet(const std::string& start) {
    return board.WaitFor(
        [&](const std::vector<std::string>& lines) {
          for (const auto& l : lines)
            if (l.size() > 2 && l.starts_with(start)) return true;
          return false;
        },
        10s);
  }

  TempFolder folder{"vmx-mqtt"};
  std::unique_ptr<Broker> broker;
  std::unique_ptr<Probe> probe;
  std::unique_ptr<Program> bridge;
};

TEST_F(MqttBridgeTest, TheBoardsStateIsPublishedRetainedInTheBoardsUnit) {
  Start();
  // A client that comes later finds everything retained.
  Probe late(broker->Port());
  ASSERT_TRUE(late.WaitFor(Topic("mode"), "auto"));
  EXPECT_TRUE(late.WaitFor(Topic("link"), "connected"));
  EXPECT_TRUE(late.WaitFor(Topic("temperature/unit"), "\u00B0C"));
  EXPECT_NEAR(Number(late.Last(Topic("temperature/board"))), 38.4, 0.5);
  EXPECT_EQ(late.Last(Topic("temperature/water")), "25.1");
  EXPECT_EQ(late.Last(Topic("temperature/slave")), "None") << "the board has no slave";
  EXPECT_NEAR(Number(late.Last(Topic("voltage"))), 24.1, 0.05);
  const double level = Number(late.Last(Topic("channel/11")));
  EXPECT_TRUE(level >= 0 && level <= 100) << late.Last(Topic("channel/11"));
  EXPECT_GE(Number(late.Last(Topic("active_row"))), 0);
  EXPECT_EQ(late.Last(Topic("error/overtemperature")), "OFF");
  EXPECT_EQ(late.Last(Topic("activity/cloud")), "OFF");
  EXPECT_THAT(late.Last(Topic("settings")), HasSubstr("\"FanLow\": 77"));
  EXPECT_TRUE(Sets().empty()) << "watching changes nothing";

  OnBoard([](sim::BoardState& s) {
    s.info.ErrorFlags = 0x01;
    s.info.ActivityFlags = 0x01;
    s.config.Flag |= 0x04;  // Fahrenheit
  });
  EXPECT_TRUE(probe->WaitFor(Topic("error/overtemperature"), "ON"));
  EXPECT_TRUE(probe->WaitFor(Topic("alarm"), "ON"));
  EXPECT_TRUE(probe->WaitFor(Topic("activity/cloud"), "ON"));
  ASSERT_TRUE(probe->WaitFor(Topic("temperature/unit"), "\u00B0F"));
  EXPECT_TRUE(probe->WaitFor(Topic("temperature/water"), "77.2")) << "25.1 degrees Celsius";
}

TEST_F(MqttBridgeTest, AChannelSetThroughMqttReachesTheBoardAsOneSetInfo) {
  OnBoard([](sim::BoardState& s) { s.config.Mode = 0; });  // Manual
  Start();
  const int16_t first = OnBoard([](sim::BoardState& s) { return s.info.Channel[0]; });
  board.ClearLines();
  Send("channel/3", "12.5");
  ASSERT_TRUE(WaitForSet("01")) << Log();
  std::this_thread::sleep_for(300ms);
  std::vector<std::string> sets = Sets();
  ASSERT_EQ(sets.size(), 1u) << Log();
  // Payload byte k stands at characters 2 + 2k: Minute (7) keeps the clock,
  // Channel3 (23) is 512 as little-endian hex, Channel0 (17) as the board had it.
  EXPECT_EQ(sets[0].substr(2 + 2 * 7, 2), "FF");
  EXPECT_EQ(sets[0].substr(2 + 2 * 23, 4), "0002");
  char channel0[5];
  std::snprintf(channel0, sizeof channel0, "%02X%02X", first & 0xFF, (first >> 8) & 0xFF);
  EXPECT_EQ(sets[0].substr(2 + 2 * 17, 4), channel0);
  EXPECT_EQ(OnBoard([](sim::BoardState& s) { return s.info.Channel[3]; }), 512);
  EXPECT_TRUE(probe->WaitFor(Topic("channel/3"), "12.5"));

  // All channels at once, as the menu item does it: one SetInfo, 819 each.
  board.ClearLines();
  Send("all", "20");
  ASSERT_TRUE(WaitForSet("01"));
  std::this_thread::sleep_for(300ms);
  sets = Sets();
  ASSERT_EQ(sets.size(), 1u);
  for (int c = 0; c < 12; ++c) EXPECT_EQ(sets[0].substr(2 + 2 * (17 + 2 * c), 4), "3303") << c;
  EXPECT_TRUE(probe->WaitFor(Topic("channel/11"), "20"));
}

TEST_F(MqttBridgeTest, WhatDoesNotFitChangesNothing) {
  OnBoard([](sim::BoardState& s) { s.config.Mode = 0; });  // Manual
  // Kept by the broker from before, it would come again at every connection.
  probe->Publish(Topic("set/save"), "PRESS", true);
  ASSERT_TRUE(probe->WaitFor(Topic("set/save"), "PRESS"));
  Start();
  board.ClearLines();
  const std::pair<const char*, const char*> bad[] = {
      {"channel/3", "abc"},   {"channel/3", "150"},
      {"channel/3", "-1"},    {"channel/12", "50"},
      {"channel/03", "50"},   {"mode", "turbo"},
      {"all", "50"},          {"config/FanLow", "300"},
      {"config/FanLow", "x"}, {"config/NoSuchKey", "1"},
      {"config/5.Hour", "1"}, {"nosuch", "1"},
      {"cloud", "PRESS"},     {"config/Weather/CloudP", "-1"},
  };
  for (const auto& [command, payload] : bad) Send(command, payload);
  Send("config/FanLow", "78");  // a good one behind them
  ASSERT_TRUE(WaitForSet("02")) << Log();
  std::this_thread::sleep_for(300ms);
  const std::vector<std::string> sets = Sets();
  ASSERT_EQ(sets.size(), 1u) << Log();
  EXPECT_EQ(OnBoard([](sim::BoardState& s) { return s.config.FanLow; }), 78);
  EXPECT_EQ(OnBoard([](sim::BoardState& s) { return s.config.Mode; }), 0);
  EXPECT_EQ(LogCount("MQTT: ignored aquarium/board1/set/"), std::size(bad) + 1) << Log();
  EXPECT_THAT(Log(), HasSubstr("set/save \"PRESS\": a retained message is no command"));
  EXPECT_THAT(Log(), HasSubstr("set/cloud \"PRESS\": clouds and thunderstorms are triggered in "
                               "modes Auto and Geo only"));
  EXPECT_THAT(Log(), HasSubstr("the board has 4 schedule rows, no row 5"));
}

TEST_F(MqttBridgeTest, AButtonActsOnItsPressPayloadOnly) {
  Start();  // mode Auto: clouds and thunderstorms may be triggered
  board.ClearLines();
  // What reaches the board for each message; none for a payload that presses nothing.
  const struct {
    const char* button;
    std::string payload;
    const char* action;
  } cases[] = {
      {"save", "NOPE", nullptr},       {"cloud", "", nullptr},
      {"storm", {'\0'}, nullptr},      {"save", "\x01", nullptr},
      {"cloud", "PRESS!", nullptr},    {"storm", "PRESS PRESS", nullptr},
      {"save", "PRES", nullptr},       {"cloud", "ON", nullptr},
      {"save", "PRESS", "7F01"},       {"cloud", "press", "7F02"},
      {"storm", " PRESS\n", "7F03"},
  };
  // Two more Info reads: the worker has served every request raised before.
  const auto infoReads = [&] { return std::ranges::count(board.Lines(), std::string("81")); };
  const auto passed = [&] {
    const auto reads = infoReads();
    return WaitUntil([&] { return infoReads() >= reads + 2; }, 20s);
  };
  size_t ignored = 0;
  for (const auto& c : cases)
    if (!c.action) Send(c.button, c.payload), ++ignored;
  // Each message served, whatever came of it, gives its log line.
  ASSERT_TRUE(WaitUntil([&] { return LogCount(Topic("set/")) == ignored; }, 20s)) << Log();
  ASSERT_TRUE(passed());
  EXPECT_EQ(Sets(), std::vector<std::string>{}) << Log();
  EXPECT_EQ(LogCount("not PRESS, the button's payload"), ignored) << Log();

  std::vector<std::string> actions;
  for (const auto& c : cases)
    if (c.action) Send(c.button, c.payload), actions.push_back(c.action);
  ASSERT_TRUE(WaitUntil([&] { return Sets().size() >= actions.size(); }, 20s)) << Log();
  ASSERT_TRUE(passed());
  EXPECT_THAT(Sets(), ::testing::UnorderedElementsAreArray(actions)) << Log();
  EXPECT_EQ(LogCount("MQTT: ignored"), ignored) << Log();
  EXPECT_THAT(Log(), HasSubstr("set/storm \"\\x00\": not PRESS"));
}

TEST_F(MqttBridgeTest, ACommandWhileTheBoardIsAwayIsLeftOut) {
  Start();
  server.HangUp(3s);
  ASSERT_TRUE(probe->WaitFor(Topic("availability"), "offline")) << Log();
  EXPECT_EQ(probe->Last(Topic("link")), "disconnected");
  Send("save", "PRESS");
  ASSERT_TRUE(WaitUntil([&] { return LogCount("\"PRESS\": the board is not connected") == 1; }, 5s))
      << Log();
  ASSERT_TRUE(probe->WaitFor(Topic("availability"), "online", 30s)) << "the link comes back";
  std::this_thread::sleep_for(500ms);
  for (const std::string& set : Sets()) EXPECT_FALSE(set.starts_with("7F")) << set;
  Send("save", "PRESS");
  EXPECT_TRUE(WaitForSet("7F01")) << "and then it is served";
}

TEST_F(MqttBridgeTest, ABoardUnpluggedLongerThanTheLinkWaitsIsFoundAgain) {
  Start();
  // Away until the link has given up its attempts to open the port, however
  // long they take on a busy machine.
  server.HangUp(-1ms);
  ASSERT_TRUE(WaitUntil([&] { return LogCount("Disconnected from") == 1; }, 60s)) << Log();
  EXPECT_TRUE(probe->WaitFor(Topic("availability"), "offline"));
  server.HangUp(0ms);
  ASSERT_TRUE(probe->WaitFor(Topic("availability"), "online", 60s)) << Log();
  EXPECT_EQ(LogCount("Connected to Velmarinex 2.x.4"), 2u);
}

TEST_F(MqttBridgeTest, DiscoveryDocumentsAreValidJsonWithUniqueIds) {
  Start({"--ha-discovery"});
  const std::string prefix = "homeassistant/";
  ASSERT_TRUE(WaitUntil([&] { return probe->Under(prefix).size() >= 29; }, 10s))
      << probe->Under(prefix).size();
  // Python's own parser judges the JSON; it prints what the test compares.
  const std::string documents = folder / "documents";
  {
    std::ofstream out(documents);
    for (const auto& [topic, document] : probe->Under(prefix))
      out << topic << "\t" << document << "\n";
  }
  const std::string script =
      "import json, sys\n"
      "for line in open(sys.argv[1]):\n"
      "    topic, text = line.rstrip('\\n').split('\\t', 1)\n"
      "    d = json.loads(text)\n"
      "    print(topic, d['unique_id'], d['name'], d['availability'][0]['topic'],\n"
      "          d['device']['identifiers'][0], d.get('command_topic', '-'),\n"
      "          d.get('state_topic', '-'), sep='\\t')\n";
  std::ofstream(folder / "check.py") << script;
  const Ran checked = RunProgram({"python3", folder / "check.py", documents});
  ASSERT_EQ(checked.code, 0) << ReadAll(documents) << checked.err;
  std::set<std::string> ids;
  std::map<std::string, std::vector<std::string>> byTopic;
  std::istringstream lines(checked.out);
  for (std::string line; std::getline(lines, line);) {
    std::vector<std::string> fields;
    std::istringstream cells(line);
    for (std::string cell; std::getline(cells, cell, '\t');) fields.push_back(cell);
    ASSERT_EQ(fields.size(), 7u) << line;
    EXPECT_TRUE(ids.insert(fields[1]).second) << "unique_id twice: " << fields[1];
    EXPECT_EQ(fields[3], Topic("availability"));
    EXPECT_EQ(fields[4], "board1");
    byTopic[fields[0]] = fields;
  }
  EXPECT_EQ(ids.size(), 29u);
  const auto light = byTopic["homeassistant/light/board1/channel0/config"];
  ASSERT_EQ(light.size(), 7u);
  EXPECT_EQ(light[2], "A: ColdWhite");
  EXPECT_EQ(light[5], Topic("set/channel/0"));
  EXPECT_EQ(light[6], Topic("channel/0"));
  EXPECT_EQ(byTopic["homeassistant/select/board1/mode/config"].at(5), Topic("set/mode"));
  EXPECT_EQ(byTopic["homeassistant/sensor/board1/temperature_water/config"].at(6),
            Topic("temperature/water"));
  EXPECT_EQ(byTopic["homeassistant/button/board1/save/config"].at(5), Topic("set/save"));
  EXPECT_THAT(probe->Last("homeassistant/select/board1/mode/config"),
              HasSubstr("\"options\": [\"manual\", \"auto\", \"geo\", \"rgbdemo\", \"flash\"]"));

  // What Home Assistant sends for the mode select reaches the board.
  board.ClearLines();
  probe->Publish(light[5].substr(0, light[5].find("/set/")) + "/set/mode", "geo");
  ASSERT_TRUE(WaitForSet("0202"));
}

TEST_F(MqttBridgeTest, TheLastWillShowsOfflineWhenTheBridgeIsKilled) {
  Start();
  EXPECT_EQ(bridge->Stop(SIGKILL), 128 + SIGKILL);
  EXPECT_TRUE(probe->WaitFor(Topic("availability"), "offline", 5s));

  // Stopped as a service manager stops it, it says goodbye itself.
  Start();
  EXPECT_EQ(bridge->Stop(SIGTERM), 0);
  EXPECT_TRUE(probe->WaitFor(Topic("availability"), "offline", 5s));
  EXPECT_THAT(Log(), HasSubstr("MQTT bridge stopping"));
}

TEST_F(MqttBridgeTest, TheBrokerGoingAwayAndComingBack) {
  Start();
  const auto identifications = [&] {
    size_t n = 0;
    for (const auto& l : board.Lines()) n += l == "80";
    return n;
  };
  const size_t before = identifications();
  broker->Stop();
  ASSERT_TRUE(WaitUntil([&] { return LogCount("trying again") >= 1; }, 10s)) << Log();
  std::this_thread::sleep_for(2s);
  ASSERT_TRUE(broker->Start());
  probe->Forget();
  // Nothing was kept by the broker: the bridge publishes everything again.
  ASSERT_TRUE(probe->WaitFor(Topic("availability"), "online", 40s)) << Log();
  EXPECT_TRUE(probe->WaitFor(Topic("mode"), "auto"));
  EXPECT_TRUE(probe->WaitFor(Topic("settings"), [](const std::string& s) { return !s.empty(); }));
  EXPECT_EQ(identifications(), before) << "the link to the board went on meanwhile";
  EXPECT_EQ(LogCount("Connected to the MQTT broker"), 2u) << Log();

  board.ClearLines();
  Send("save", "PRESS");
  EXPECT_TRUE(WaitForSet("7F01")) << Log();
}

TEST_F(MqttBridgeTest, ALoginWithUserAndPasswordFile) {
  // A broker of its own that lets only the keeper in.
  const std::string users = folder / "users";
  ASSERT_EQ(RunProgram({"mosquitto_passwd", "-b", "-c", users, "keeper", "s3cret"}).code, 0);
  std::ofstream(folder / "password") << "s3cret\n";
  std::ofstream(folder / "wrong") << "guess\n";
  probe.reset();
  broker = std::make_unique<Broker>(VMX_MOSQUITTO_PROGRAM, folder.str(), FreeLocalPort(), users);
  ASSERT_TRUE(broker->Start()) << ReadAll(folder / "broker.log");
  probe = std::make_unique<Probe>(broker->Port(), "keeper", "s3cret");

  // The wrong password, for a board on another port: this one is the other bridge's.
  auto refused = std::make_unique<Program>(
      std::vector<std::string>{VMX_CLI_PROGRAM, "mqtt", folder / "elsewhere", "--broker",
                               "127.0.0.1:" + std::to_string(broker->Port()), "--prefix",
                               "aquarium", "--id", "board2", "--user", "keeper", "--password-file",
                               folder / "wrong"},
      Launch{.logFile = folder / "refused.log"});
  Start({"--user", "keeper", "--password-file", folder / "password"});
  EXPECT_TRUE(probe->WaitFor(Topic("mode"), "auto"));
  EXPECT_TRUE(WaitUntil(
      [&] { return ReadAll(folder / "refused.log").find("not authorised") != std::string::npos; },
      10s))
      << ReadAll(folder / "refused.log");
  EXPECT_EQ(probe->Last("aquarium/board2/availability"), "");
}

TEST(MqttArguments, WordsThatDoNotFitAreRefusedBeforeAnythingStarts) {
  const TempFolder folder("vmx-mqtt");
  const std::vector<std::vector<std::string>> cases = {
      {"/dev/ttyUSB0"},
      {"--broker", "localhost"},
      {"/dev/ttyUSB0", "--broker", "localhost:0"},
      {"/dev/ttyUSB0", "--broker", "localhost:"},
      {"/dev/ttyUSB0", "--broker", "localhost", "--id", "a/b"},
      {"/dev/ttyUSB0", "--broker", "localhost", "--prefix", "home/#"},
      {"/dev/ttyUSB0", "--broker", "localhost", "--password-file", "x"},
      {"/dev/ttyUSB0", "--broker", "localhost", "--bogus"},
  };
  for (const auto& words : cases) {
    std::vector<std::string> args = {VMX_CLI_PROGRAM, "mqtt"};
    args.insert(args.end(), words.begin(), words.end());
    Program run(args, {.logFile = folder / "out"});
    EXPECT_EQ(run.Wait(10s), 2) << words.back();
    EXPECT_THAT(ReadAll(folder / "out"), HasSubstr("usage: velmarinex-cli mqtt"));
  }
  Program unreadable({VMX_CLI_PROGRAM, "mqtt", "/dev/ttyUSB0", "--broker", "localhost", "--user",
                      "u", "--password-file", folder / "none"},
                     {.logFile = folder / "out"});
  EXPECT_EQ(unreadable.Wait(10s), 1);
  EXPECT_THAT(ReadAll(folder / "out"), HasSubstr("none could not be read"));
}

}  // namespace
}  // namespace vmx::testing
