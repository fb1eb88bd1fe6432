// velmarinexd as a keeper's scripts meet it: the real program on a free
// local port, two simulated boards on real ptys, a real HTTP client, and the
// lines each board received.
#include <sys/stat.h>

#include <gmock/gmock.h>
#include <nlohmann/json.hpp>

#include "service/secrets.h"
#include "tests/service/service_fixture.h"

namespace vmx::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;
using Json = nlohmann::json;

// What `velmarinex-cli dump PORT --json` prints.
Json Dump(const std::string& port, const std::string& folder) {
  const std::string out = folder + "/dump.json";
  const std::string command = std::string(VMX_CLI_PROGRAM) + " dump " + port + " --json > " + out;
  EXPECT_EQ(std::system(command.c_str()), 0);
  return Json::parse(ReadAll(out));
}

uint8_t FanLow(sim::SimBoard& board) {
  return board.With([](sim::BoardState& s) { return s.config.FanLow; });
}

class ServiceTest : public ServiceFixture {};

TEST_F(ServiceTest, BothBoardsAreListedWithTheSettingsDumpPrints) {
  const Json dumped[] = {Dump(Port(0), folder), Dump(Port(1), folder)};
  ASSERT_TRUE(StartWithBoards()) << Log();
  const HttpAnswer list = Get("/api/v1/boards");
  ASSERT_EQ(list.status, 200);
  EXPECT_EQ(list.Header("Content-Type"), "application/json");
  const Json boardsSeen = Json::parse(list.body);
  ASSERT_EQ(boardsSeen.size(), 2u) << list.body;
  for (int i = 0; i < 2; ++i) {
    const Json& b = boardsSeen[static_cast<size_t>(i)];
    EXPECT_EQ(b, Json::parse(R"({"id": ")" + Id(i) + R"(", "port": ")" + Port(i) +
                             R"(", "connected": true, "firmware": "2.x.4", "mode": "auto",
                               "complete": true})"));
    const HttpAnswer settings = Get("/api/v1/boards/" + Id(i) + "/settings");
    ASSERT_EQ(settings.status, 200);
    EXPECT_EQ(Json::parse(settings.body), dumped[i]);
  }
  const Json status = Json::parse(Get("/api/v1/boards/" + Id(1) + "/status").body);
  EXPECT_EQ(status["id"], Id(1));
  EXPECT_EQ(status["channels"].size(), 12u);
  EXPECT_EQ(status["unit"], "C");
  EXPECT_TRUE(status["temperatures"]["second"].is_null());
  EXPECT_THAT(status["clock"].get<std::string>(), ::testing::MatchesRegex("20[0-9-]+T[0-9:]+"));
  const Json schedule = Json::parse(Get("/api/v1/boards/" + Id(0) + "/schedule").body);
  EXPECT_EQ(schedule["rows"].size(), 4u);
  EXPECT_EQ(Get("/api/v1/health").status, 200);
  EXPECT_THAT(Sets(0), IsEmpty());
}

TEST_F(ServiceTest, APatchOfOneKeySendsExactlyThatSetConfig) {
  ASSERT_TRUE(StartWithBoards()) << Log();
  const HttpAnswer a = Send(http::verb::patch, "/api/v1/boards/" + Id(0) + "/settings",
                            R"({"Config": {"FanLow": 76}})");
  ASSERT_EQ(a.status, 200) << a.body;
  EXPECT_EQ(Json::parse(a.body)["Config"]["FanLow"], 76);
  const std::vector<std::string> sets = Sets(0);
  ASSERT_EQ(sets.size(), 1u) << ::testing::PrintToString(sets);
  EXPECT_EQ(sets[0].substr(0, 2), "02");
  EXPECT_EQ(sets[0].substr(2 + 2 * 2, 2), "4C");  // byte 2 of the record
  EXPECT_THAT(Sets(1), IsEmpty());
  EXPECT_EQ(FanLow(*boards[0]), 76);
}

TEST_F(ServiceTest, EachWriteGoesOutAsTheCommandLineSendsIt) {
  ASSERT_TRUE(StartWithBoards()) << Log();
  struct Case {
    http::verb method;
    std::string path, body;
    std::string set;  // the one Set line's start
  };
  const Case cases[] = {
      {http::verb::post, "/mode", R"({"mode": "manual"})", "0200"},
      {http::verb::post, "/channels", R"({"levels": {"0": 50}})", "0104"},
      {http::verb::put, "/schedule/1", R"({"cells": "09:30"})", "0301091E"},
      {http::verb::put, "/schedule/2", R"({"cells": ["-", "100"]})", "0302"},
      {http::verb::patch, "/settings", R"({"3": {"Minute": 7}})", "0303"},
      {http::verb::post, "/actions/save", "", "7F01"},
  };
  for (const Case& c : cases) {
    boards[0]->ClearLines();
    const HttpAnswer a = Send(c.method, "/api/v1/boards/" + Id(0) + c.path, c.body);
    EXPECT_EQ(a.status, 200) << c.path << " " << a.body;
    const std::vector<std::string> sets = Sets(0);
    ASSERT_EQ(sets.size(), 1u) << c.path << " " << ::testing::PrintToString(sets);
    EXPECT_TRUE(sets[0].starts_with(c.set)) << c.path << " " << sets[0];
  }
  EXPECT_EQ(boards[0]->With([](sim::BoardState& s) { return s.schedule[1].Minute; }), 30);
  EXPECT_EQ(boards[0]->With([](sim::BoardState& s) { return s.schedule[3].Minute; }), 7);
}

TEST_F(ServiceTest, RefusedRequestsSendNothing) {
  ASSERT_TRUE(StartWithBoards()) << Log();
  // A cookie as a browser would hold it.
  const HttpAnswer login = Send(http::verb::post, "/api/v1/login", R"({"token": ")" + Token() + "\"}",
                                Headers{});
  ASSERT_EQ(login.status, 200);
  const std::string cookie = login.Header("Set-Cookie").substr(0, login.Header("Set-Cookie").find(';'));
  const Headers bearer = Bearer(), none, withCookie = {{"Cookie", cookie}};
  const Headers foreignHost = {{"Authorization", "Bearer " + Token()}, {"Host", "attacker.example"}};
  const Headers wrongToken = {{"Authorization", "Bearer 00" + Token().substr(2)}};
  const std::string settings = "/api/v1/boards/" + Id(0) + "/settings";
  struct Case {
    http::verb method;
    std::string target, body;
    Headers headers;
    int status;
    std::string key;
  };
  const Case cases[] = {
      {http::verb::patch, settings, R"({"Config": {"FanFast": 1}})", bearer, 400, "FanFast"},
      {http::verb::patch, settings, R"({"Konfig": {"FanLow": 1}})", bearer, 400, "Konfig"},
      {http::verb::patch, settings, R"({"Config": {"FanLow": 256}})", bearer, 400, "FanLow"},
      {http::verb::patch, settings, R"({"Config": {"FanLow": -1}})", bearer, 400, "FanLow"},
      {http::verb::patch, settings, R"({"Config": {"FanLow": "76"}})", bearer, 400, "FanLow"},
      {http::verb::patch, settings, R"({"Config": {"FanLow": 76.5}})", bearer, 400, "FanLow"},
      {http::verb::patch, settings, R"({"Config": {"FanLow": 76, "FanHigh": 999}})", bearer, 400,
       "FanHigh"},
      {http::verb::patch, settings, R"({"9": {"Hour": 1}})", bearer, 400, "9"},
      {http::verb::patch, settings, R"({"Config": {"FanLow": 76})", bearer, 400, ""},
      {http::verb::patch, settings, "[1, 2]", bearer, 400, ""},
      {http::verb::patch, settings, "{\"Config\": {\"FanLow\": 76, \"x\": \"" +
                                        std::string(70000, 'x') + "\"}}", bearer, 413, ""},
      {http::verb::post, "/api/v1/boards/" + Id(0) + "/mode", R"({"mode": "party"})", bearer, 400,
       "mode"},
      {http::verb::post, "/api/v1/boards/" + Id(0) + "/channels", R"({"levels": {"12": 5}})",
       bearer, 400, "12"},
      {http::verb::post, "/api/v1/boards/" + Id(0) + "/channels", R"({"levels": {"1": 101}})",
       bearer, 400, "1"},
      {http::verb::put, "/api/v1/boards/" + Id(0) + "/schedule/4", R"({"cells": "09:30"})", bearer,
       400, "line"},
      {http::verb::post, "/api/v1/boards/" + Id(0) + "/actions/dance", "", bearer, 404, ""},
      {http::verb::patch, "/api/v1/boards/vmx5_none/settings", R"({"Config": {"FanLow": 76}})",
       bearer, 404, ""},
      {http::verb::patch, settings, R"({"Config": {"FanLow": 76}})", none, 401, ""},
      {http::verb::patch, settings, R"({"Config": {"FanLow": 76}})", wrongToken, 401, ""},
      {http::verb::get, "/api/v1/boards", "", none, 401, ""},
      {http::verb::patch, settings, R"({"Config": {"FanLow": 76}})", foreignHost, 421, ""},
      {http::verb::get, "/api/v1/health", "", {{"Host", "attacker.example"}}, 421, ""},
      {http::verb::patch, settings, R"({"Config": {"FanLow": 76}})", withCookie, 403, ""},
      {http::verb::delete_, settings, "", bearer, 405, ""},
  };
  for (const Case& c : cases) {
    const HttpAnswer a = HttpClient(port).Send(c.method, c.target, c.body, c.headers);
    EXPECT_EQ(a.status, c.status) << c.body.substr(0, 60) << " -> " << a.body;
    if (c.status == 413) {
      continue;
    }
    const Json body = Json::parse(a.body, nullptr, false);
    EXPECT_TRUE(body.contains("error")) << a.body;
    if (!c.key.empty()) {
      EXPECT_EQ(body.value("key", ""), c.key) << a.body;
    }
  }
  // The cookie itself is good: reading needs no header, a write with it goes through.
  EXPECT_EQ(HttpClient(port).Send(http::verb::get, "/api/v1/boards", "", withCookie).status, 200);
  EXPECT_THAT(Sets(0), IsEmpty());
  EXPECT_THAT(Sets(1), IsEmpty());
  EXPECT_EQ(FanLow(*boards[0]), 77);
  EXPECT_GE(Count(Log(), "refused 127.0.0.1 "), std::size(cases) - 1);  // 413 is the connection's
  EXPECT_EQ(Send(http::verb::patch, settings, R"({"Config": {"FanLow": 76}})",
                 Headers{{"Cookie", cookie}, {"X-Velmarinex", "1"}})
                .status,
            200);
}

TEST_F(ServiceTest, FailedLoginsAreThrottledAndLeaveNoSecretInTheLog) {
  const std::string users = folder + "/users";
  WriteText(users, "keeper:" + service::MakePasswordHasher()->Hash("right horse") + "\n");
  chmod(users.c_str(), 0600);
  ASSERT_TRUE(Start({"--users", users}, false)) << Log();
  EXPECT_FALSE(std::filesystem::exists(folder + "/velmarinex/token"));
  auto login = [&](const std::string& password) {
    return Send(http::verb::post, "/api/v1/login",
                Json{{"user", "keeper"}, {"password", password}}.dump(), Headers{});
  };
  const HttpAnswer good = login("right horse");
  ASSERT_EQ(good.status, 200);
  EXPECT_THAT(good.Header("Set-Cookie"), HasSubstr("HttpOnly"));
  EXPECT_THAT(good.Header("Set-Cookie"), HasSubstr("SameSite=Strict"));
  const std::string cookie = good.Header("Set-Cookie").substr(0, good.Header("Set-Cookie").find(';'));
  EXPECT_EQ(Send(http::verb::get, "/api/v1/boards", "", Headers{{"Cookie", cookie}}).status, 200);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(login("Wr0ng-Secret-" + std::to_string(i)).status, 401);
  EXPECT_EQ(login("right horse").status, 429) << "locked out for a minute";
  const Headers withCookie = {{"Cookie", cookie}, {"X-Velmarinex", "1"}};
  EXPECT_EQ(Send(http::verb::post, "/api/v1/logout", "", withCookie).status, 200);
  EXPECT_EQ(Send(http::verb::get, "/api/v1/boards", "", Headers{{"Cookie", cookie}}).status, 401);
  const std::string log = Log();
  EXPECT_THAT(log, HasSubstr("too many failed logins"));
  for (const std::string& secret :
       std::vector<std::string>{"Wr0ng-Secret", "right horse", cookie.substr(12), "$argon2id$"})
    EXPECT_THAT(log, Not(HasSubstr(secret)));
}

TEST_F(ServiceTest, AUsersFileOpenToOthersIsRefusedAndTheTokenIsTheUsersAlone) {
  const std::string users = folder + "/users";
  WriteText(users, "keeper:" + service::MakePasswordHasher()->Hash("right horse") + "\n");
  for (const mode_t mode : {0644, 0602, 0620}) {
    chmod(users.c_str(), mode);
    Start({"--users", users}, false);
    EXPECT_TRUE(WaitUntil([&] { return !Running(); }, 10s)) << mode;
    EXPECT_EQ(service.ExitCode(), 1) << mode;
    EXPECT_THAT(Log(), HasSubstr("is open to other users")) << mode;
  }
  ASSERT_TRUE(Start({}, false)) << Log();
  struct stat st {};
  ASSERT_EQ(stat((folder + "/velmarinex/token").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  EXPECT_EQ(Token().size(), 64u);
  EXPECT_THAT(Log(), HasSubstr("/?token=" + Token()));
}

TEST_F(ServiceTest, AddUserWritesAHashOnlyItsOwnerReads) {
  const std::string users = folder + "/users";
  WriteText(users, "other:$argon2id$v=19$m=65536,t=2,p=1$abc$def\nkeeper:old\n");
  chmod(users.c_str(), 0644);
  struct Case {
    std::string typed;
    int code;
    std::string keeperStarts;
  };
  const Case cases[] = {
      {"first horse\nsecond horse\n", 1, "keeper:old"},
      {"\n\n", 1, "keeper:old"},
      {"right horse\nright horse\n", 0, "keeper:$argon2id$"},
  };
  for (const Case& c : cases) {
    WriteText(folder + "/typed", c.typed);
    const std::string command = std::string(VMX_SERVICE_PROGRAM) + " --users " + users +
                                " --add-user keeper < " + folder + "/typed 2> " + folder + "/err";
    const int status = std::system(command.c_str());
    EXPECT_EQ(WEXITSTATUS(status), c.code) << c.typed << ReadAll(folder + "/err");
    const std::string text = ReadAll(users);
    EXPECT_THAT(text, HasSubstr("other:$argon2id$v=19$m=65536,t=2,p=1$abc$def\n"));
    EXPECT_EQ(Count(text, "keeper:"), 1u) << text;
    EXPECT_THAT(text, HasSubstr("\n" + c.keeperStarts)) << text;
    EXPECT_THAT(text, Not(HasSubstr("horse")));
  }
  struct stat st {};
  ASSERT_EQ(stat(users.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  // The new line lets its user in.
  ASSERT_TRUE(Start({"--users", users}, false)) << Log();
  EXPECT_EQ(Send(http::verb::post, "/api/v1/login", R"({"user": "keeper", "password": "right horse"})",
                 Headers{})
                .status,
            200);
}

TEST_F(ServiceTest, TheEventStreamReportsATemperatureAndABoardUnpluggedAndBack) {
  ASSERT_TRUE(StartWithBoards()) << Log();
  EventReader events(port, Bearer());
  ASSERT_EQ(events.Status(), 200);
  boards[1]->With([](sim::BoardState& s) { s.info.TempWater = 263; });
  const auto status = events.Next(
      [&](const EventReader::Event& e) {
        const Json d = Json::parse(e.data);
        return e.name == "status" && d["id"] == Id(1) && d["temperatures"]["water"] == 26.3;
      },
      5s);
  EXPECT_TRUE(status) << "no status event with the new temperature";
  ASSERT_EQ(Send(http::verb::patch, "/api/v1/boards/" + Id(1) + "/settings",
                 R"({"Weather": {"CloudP": 9}})")
                .status,
            200);
  const auto settings = events.Next(
      [&](const EventReader::Event& e) {
        const Json d = Json::parse(e.data);
        return e.name == "settings" && d["id"] == Id(1) && d["settings"]["Weather"]["CloudP"] == 9;
      },
      5s);
  EXPECT_TRUE(settings) << "no settings event after the write";
  servers[0]->HangUp(1500ms);
  auto change = [&](const std::string& what) {
    return events.Next(
        [&](const EventReader::Event& e) {
          const Json d = Json::parse(e.data);
          return e.name == "board" && d["id"] == Id(0) && d["change"] == what;
        },
        15s);
  };
  EXPECT_TRUE(change("disconnected")) << Log();
  EXPECT_TRUE(change("connected")) << Log();
  EXPECT_TRUE(change("complete")) << Log();
}

TEST_F(ServiceTest, ABoardUnpluggedMidRequestIsAnsweredWith503) {
  ASSERT_TRUE(StartWithBoards()) << Log();
  boards[0]->InjectFault(sim::Fault::HangUp, 1, "02");
  const HttpAnswer a = Send(http::verb::patch, "/api/v1/boards/" + Id(0) + "/settings",
                            R"({"Config": {"FanLow": 76}})");
  EXPECT_EQ(a.status, 503) << a.body;
  EXPECT_TRUE(Running());
  EXPECT_EQ(Get("/api/v1/health").status, 200);
  EXPECT_EQ(Get("/api/v1/boards/" + Id(1) + "/settings").status, 200);
  // And the board is back by itself.
  EXPECT_TRUE(WaitUntil(
      [&] { return Get("/api/v1/boards/" + Id(0) + "/settings").status == 200; }, 20s))
      << Log();
}

}  // namespace
}  // namespace vmx::testing
