// The routes the browser interface adds to the service: its own files, a
// board's log, and the grid's line moves and column copies, each checked on
// the lines the simulated board received.
#include <gmock/gmock.h>
#include <nlohmann/json.hpp>

#include "tests/service/service_fixture.h"

namespace vmx::testing {
namespace {

using ::testing::ElementsAreArray;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;
using Json = nlohmann::json;

class WebRoutesTest : public ServiceFixture {};

TEST_F(WebRoutesTest, TheInterfaceIsServedWithoutCredentialsPlainOrGzipped) {
  ASSERT_TRUE(Start({}, false)) << Log();
  struct Case {
    std::string target, type, inside;
  };
  const Case cases[] = {
      {"/", "text/html; charset=utf-8", "<script defer src=\"/app.js\">"},
      {"/app.js", "text/javascript; charset=utf-8", "vmx-interactive"},
      {"/app.css", "text/css; charset=utf-8", ".banner"},
  };
  for (const Case& c : cases) {
    const HttpAnswer plain = Send(http::verb::get, c.target, {}, Headers{});
    ASSERT_EQ(plain.status, 200) << c.target;
    EXPECT_EQ(plain.Header("Content-Type"), c.type);
    EXPECT_EQ(plain.Header("Content-Encoding"), "");
    EXPECT_THAT(plain.body, HasSubstr(c.inside));
    EXPECT_THAT(plain.Header("Content-Security-Policy"), HasSubstr("default-src 'self'"));
    const HttpAnswer zipped =
        Send(http::verb::get, c.target, {}, Headers{{"Accept-Encoding", "br, gzip;q=0.8"}});
    EXPECT_EQ(zipped.Header("Content-Encoding"), "gzip") << c.target;
    EXPECT_EQ(zipped.body.substr(0, 2), "\x1f\x8b");
    const HttpAnswer refused =
        Send(http::verb::get, c.target, {}, Headers{{"Accept-Encoding", "gzip;q=0, deflate"}});
    EXPECT_EQ(refused.Header("Content-Encoding"), "") << c.target;
  }
  // The sign-in page speaks the keeper's language before anyone signed in.
  const HttpAnswer texts = Send(http::verb::get, "/api/v1/texts?lang=de", {}, Headers{});
  ASSERT_EQ(texts.status, 200);
  EXPECT_EQ(Json::parse(texts.body)["Messages"]["WebSignIn"], "Anmelden");
  EXPECT_EQ(Send(http::verb::get, "/api/v1/keys", {}, Headers{}).status, 401u);
}

TEST_F(WebRoutesTest, ABoardsLogHoldsWhatTheServiceLoggedForIt) {
  ASSERT_TRUE(StartWithBoards()) << Log();
  Send(http::verb::post, "/api/v1/boards/" + Id(0) + "/channels", R"({"levels": {"0": 50}})");
  const HttpAnswer log = Get("/api/v1/boards/" + Id(0) + "/log");
  ASSERT_EQ(log.status, 200);
  const Json entries = Json::parse(log.body);
  std::string all;
  for (const Json& e : entries) {
    EXPECT_THAT(e["time"].get<std::string>(), ::testing::MatchesRegex("20[0-9-]+T[0-9:.]+Z"));
    all += e["text"].get<std::string>() + "\n";
  }
  EXPECT_THAT(all, HasSubstr("Connected to Velmarinex 2.x.4 on " + Port(0)));
  EXPECT_THAT(all, HasSubstr("channels are set by hand in mode Manual only"));
  EXPECT_THAT(all, Not(HasSubstr(Port(1))));
  EXPECT_EQ(Get("/api/v1/boards/vmx5_nothing/log").status, 404u);
}

TEST_F(WebRoutesTest, LineMovesAndColumnCopiesSendTheGridsWrites) {
  ASSERT_TRUE(StartWithBoards()) << Log();
  struct Case {
    std::string route, body;
    unsigned status;
    std::vector<std::string> sets;  // the first bytes of each Set the board received
  };
  const Case cases[] = {
      {"move", R"({"from": 1, "to": 3})", 200, {"0301", "0302", "0303"}},
      {"move", R"({"from": 2, "to": 0})", 200, {"0300", "0301", "0302"}},
      {"paste", R"({"from": "C", "to": "F"})", 200, {"02", "0300", "0301", "0302", "0303"}},
      {"swap", R"({"from": "A", "to": "B"})", 200, {"02", "0300", "0301", "0302", "0303"}},
      {"move", R"({"from": 1, "to": 4})", 400, {}},
      {"move", R"({"from": -1, "to": 2})", 400, {}},
      {"move", R"({"from": "1", "to": 2})", 400, {}},
      {"move", R"({"to": 2})", 400, {}},
      {"paste", R"({"from": "C", "to": "M"})", 400, {}},
      {"paste", R"({"from": "c", "to": "F"})", 400, {}},
      {"swap", R"({"from": "D", "to": "D"})", 400, {}},
      {"swap", R"([1, 2])", 400, {}},
  };
  for (const Case& c : cases) {
    const size_t before = Sets(0).size();
    const HttpAnswer a =
        Send(http::verb::post, "/api/v1/boards/" + Id(0) + "/schedule/" + c.route, c.body);
    EXPECT_EQ(a.status, c.status) << c.route << " " << c.body << ": " << a.body;
    std::vector<std::string> sent;
    const std::vector<std::string> sets = Sets(0);
    for (size_t i = before; i < sets.size(); ++i)
      sent.push_back(sets[i].substr(0, sets[i].starts_with("03") ? 4 : 2));
    EXPECT_THAT(sent, ElementsAreArray(c.sets)) << c.route << " " << c.body;
    if (c.status == 200) {
      EXPECT_EQ(Json::parse(a.body)["rows"].size(), 4u);
    }
  }
  EXPECT_THAT(Sets(1), IsEmpty());
}

TEST_F(WebRoutesTest, AMovedLineTakesItsValuesAlong) {
  ASSERT_TRUE(StartWithBoards()) << Log();
  const Json before = Json::parse(Get("/api/v1/boards/" + Id(0) + "/schedule").body)["rows"];
  const HttpAnswer a = Send(http::verb::post, "/api/v1/boards/" + Id(0) + "/schedule/move",
                            R"({"from": 0, "to": 2})");
  ASSERT_EQ(a.status, 200) << a.body;
  const Json after = Json::parse(a.body)["rows"];
  for (const char* field : {"Hour", "Minute", "Color16", "Switch", "Timer"}) {
    EXPECT_EQ(after[2][field], before[0][field]) << field;
    EXPECT_EQ(after[0][field], before[1][field]) << field;
    EXPECT_EQ(after[1][field], before[2][field]) << field;
    EXPECT_EQ(after[3][field], before[3][field]) << field;
  }
}

}  // namespace
}  // namespace vmx::testing
