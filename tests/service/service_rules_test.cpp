// The service's rules that need neither board nor socket: sessions and the
// throttle of failed logins, routes and their parameters, the status object,
// and the JSON layout the command line has always printed.
#include <gmock/gmock.h>

#include "cli/json_writer.h"
#include "service/access.h"
#include "service/board_status_json.h"
#include "service/router.h"

namespace vmx::service {
namespace {

using namespace std::chrono_literals;
using ::testing::HasSubstr;

class CountingRandom final : public RandomSource {
 public:
  std::string Token(size_t) override { return "session" + std::to_string(++made); }
  int made = 0;
};

class PlainHasher final : public PasswordHasher {
 public:
  std::string Hash(const std::string& password) override { return "plain$" + password; }
  bool Verify(const std::string& stored, const std::string& password) override {
    return stored == "plain$" + password;
  }
  bool Knows(const std::string& stored) const override { return stored.starts_with("plain$"); }
};

struct AccessRig {
  AccessRig(bool tls = false) {
    Access::Config config;
    config.tls = tls;
    config.token = "loopback-token";
    config.users = {{"keeper", "plain$right"}};
    access = std::make_unique<Access>(config, hasher, random);
  }
  PlainHasher hasher;
  CountingRandom random;
  std::unique_ptr<Access> access;
  Access::Clock::time_point now = Access::Clock::now();
};

TEST(ServiceRulesTest, CredentialsAreTheTokenOrAnOpenSession) {
  AccessRig rig;
  const std::optional<std::string> session = rig.access->Login("10.0.0.1", "keeper", "right", rig.now);
  ASSERT_TRUE(session);
  struct Case {
    std::string authorization, cookie;
    bool known, byCookie;
  };
  const Case cases[] = {
      {"Bearer loopback-token", "", true, false},
      {"bearer   loopback-token ", "", true, false},
      {"Bearer " + *session, "", true, false},
      {"", "theme=dark; vmx_session=" + *session + "; x=1", true, true},
      {"", "vmx_session=" + *session, true, true},
      {"Bearer loopback-tokeN", "vmx_session=" + *session, false, false},  // a bad header wins
      {"Basic a2VlcGVyOnJpZ2h0", "", false, false},
      {"Bearer ", "", false, false},
      {"", "vmx_session=", false, false},
      {"", "other_session=" + *session, false, false},
      {"", "", false, false},
  };
  for (const Case& c : cases) {
    const Access::Caller caller = rig.access->Identify(c.authorization, c.cookie, rig.now);
    EXPECT_EQ(caller.known, c.known) << c.authorization << " | " << c.cookie;
    EXPECT_EQ(caller.byCookie, c.byCookie) << c.authorization << " | " << c.cookie;
  }
  rig.access->Logout("", "vmx_session=" + *session);
  EXPECT_FALSE(rig.access->Identify("", "vmx_session=" + *session, rig.now).known);
  EXPECT_FALSE(rig.access->Identify("", "vmx_session=" + *session, rig.now + 24h * 8).known);
}

TEST(ServiceRulesTest, FiveFailuresWithinAMinuteLockAnAddressOutForAMinute) {
  AccessRig rig;
  struct Step {
    std::chrono::seconds at;
    std::string address, password;
    bool loggedIn, throttledAfter;
  };
  const Step steps[] = {
      {0s, "a", "wrong", false, false},   {10s, "a", "wrong", false, false},
      {20s, "a", "wrong", false, false},  {30s, "a", "wrong", false, false},
      {70s, "a", "wrong", false, false},  // the first failure is older than a minute
      {71s, "b", "right", true, false},   // another address is not touched
      {75s, "a", "wrong", false, false},  // 10 s has aged out too: four within the minute
      {76s, "a", "wrong", false, true},   // the fifth within a minute
      {135s, "a", "right", false, true},  // refused unheard while locked out
      {137s, "a", "right", true, false},  // the minute has passed
  };
  for (const Step& s : steps) {
    const auto when = rig.now + s.at;
    const bool locked = rig.access->Throttled(s.address, when);
    EXPECT_EQ(!locked && rig.access->Login(s.address, "keeper", s.password, when).has_value(),
              s.loggedIn)
        << s.at.count();
    EXPECT_EQ(rig.access->Throttled(s.address, when), s.throttledAfter) << s.at.count();
  }
  EXPECT_FALSE(rig.access->LoginWithToken("c", "guess", rig.now));
  EXPECT_TRUE(rig.access->LoginWithToken("c", "loopback-token", rig.now));
}

TEST(ServiceRulesTest, TheCookieIsStrictAndSecureWithTls) {
  EXPECT_EQ(AccessRig(false).access->SessionCookie("abc"),
            "vmx_session=abc; Path=/; HttpOnly; SameSite=Strict");
  EXPECT_EQ(AccessRig(true).access->SessionCookie("abc"),
            "vmx_session=abc; Path=/; HttpOnly; SameSite=Strict; Secure");
  EXPECT_THAT(AccessRig(true).access->ExpiredCookie(), HasSubstr("Max-Age=0"));
}

TEST(ServiceRulesTest, RoutesMatchWholeSegmentsAndTellAWrongMethod) {
  Router router;
  router.Add(http::verb::get, "/api/v1/boards/{id}/settings", {});
  router.Add(http::verb::patch, "/api/v1/boards/{id}/settings", {});
  router.Add(http::verb::put, "/api/v1/boards/{id}/schedule/{line}", {});
  struct Case {
    http::verb method;
    std::string target;
    bool found, pathKnown;
    std::string id;
  };
  const Case cases[] = {
      {http::verb::get, "/api/v1/boards/vmx5_a/settings", true, true, "vmx5_a"},
      {http::verb::patch, "/api/v1/boards/vmx5_a/settings?x=1", true, true, "vmx5_a"},
      {http::verb::delete_, "/api/v1/boards/vmx5_a/settings", false, true, ""},
      {http::verb::get, "/api/v1/boards/vmx5_a/settings/more", false, false, ""},
      {http::verb::get, "/api/v1/boards//settings", false, false, ""},
      {http::verb::put, "/api/v1/boards/b/schedule/3", true, true, "b"},
      {http::verb::get, "/api/v1/boardsX/b/settings", false, false, ""},
  };
  for (const Case& c : cases) {
    Exchange exchange;
    Call call{exchange, {}, {}, {}};
    SplitTarget(c.target, call.path, call.query);
    bool pathKnown = false;
    const Route* route = router.Match(c.method, call, pathKnown);
    EXPECT_EQ(route != nullptr, c.found) << c.target;
    EXPECT_EQ(pathKnown, c.pathKnown) << c.target;
    if (route) {
      EXPECT_EQ(call.Param("id"), c.id) << c.target;
    }
  }
  std::string path;
  std::map<std::string, std::string> query;
  SplitTarget("/api/v1/texts?lang=de&x=a%20b+c&flag&bad=%zz", path, query);
  EXPECT_EQ(path, "/api/v1/texts");
  EXPECT_EQ(query, (std::map<std::string, std::string>{
                       {"lang", "de"}, {"x", "a b c"}, {"flag", ""}, {"bad", "%zz"}}));
}

TEST(ServiceRulesTest, TheStatusObjectShowsTheBoardsValuesInItsUnit) {
  Info info;
  info.Year = 26;
  info.Month = 6;
  info.Day = 21;
  info.Hour = 9;
  info.Minute = 5;
  info.Second = 7;
  info.ActiveRow = 3;
  info.Channel[0] = 4096;
  info.Channel[11] = 2048;
  info.TempBoard = 384;
  info.TempWater = kNoTemperature;
  info.TempSlave = -15;
  info.InputVoltage = 24010;
  info.ActivityFlags = activity::Storm;
  info.ErrorFlags = error_flag::Undervoltage;
  Config config;
  config.Flag = config_flag::Fahrenheit;
  const Json status = BoardStatusValue("vmx5_x", true, info, config);
  EXPECT_EQ(cli::JsonText(status),
            "{\"id\": \"vmx5_x\", \"connected\": true, \"clock\": \"2026-06-21T09:05:07\", "
            "\"row\": 3, \"channels\": [100, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 50], \"unit\": \"F\", "
            "\"temperatures\": {\"board\": 101.09999999999999, \"water\": null, \"second\": 29.300000000000001}, "
            "\"voltage\": 24.010000000000002, \"flags\": {\"alarm\": true, \"overtemperature\": false, "
            "\"undervoltage\": true, \"quartz\": false, \"crc\": false, \"ram_full\": false, "
            "\"temp_board\": false, \"rtc\": false, \"pwm\": false, \"cloud\": false, \"storm\": true, "
            "\"cooler\": false, \"heater\": false, \"jmp_timer\": false, \"saving\": false}, "
            "\"cloud\": false, \"storm\": true}");
  EXPECT_EQ(ModeValue(BoardMode::RgbDemo), "rgb");
  EXPECT_EQ(ModeOfWord("rgb"), ModeOfWord("rgbdemo"));
  EXPECT_FALSE(ModeOfWord("party"));
}

TEST(ServiceRulesTest, JsonKeepsTheCommandLinesLayout) {
  cli::JsonObject o;
  o.AddInt("n", -3).AddNumber("x", 0.1).AddNumber("nan", std::nan("")).AddBool("b", true);
  o.AddString("s", "a\"b\\c\x01").AddRaw("list", "[1, [2], {\"k\": \"v\"}]");
  EXPECT_EQ(o.Text(),
            "{\"n\": -3, \"x\": 0.10000000000000001, \"nan\": null, \"b\": true, "
            "\"s\": \"a\\\"b\\\\c\\u0001\", \"list\": [1, [2], {\"k\": \"v\"}]}");
  EXPECT_EQ(cli::JsonQuote("\xff"), "\"\xef\xbf\xbd\"");  // not UTF-8: the replacement character
}

}  // namespace
}  // namespace vmx::service
