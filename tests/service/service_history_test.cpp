// A board's settings history through velmarinexd: refused requests reach no
// board, a restore sends only what was chosen, and undo brings the board back.
#include <gmock/gmock.h>
#include <nlohmann/json.hpp>

#include "persist/settings_history.h"
#include "tests/service/service_fixture.h"

namespace vmx::testing {
namespace {

using ::testing::Contains;
using ::testing::IsEmpty;
using Json = nlohmann::json;

// The settings object the service answers, as a settings file's text.
std::string FileOf(const Json& settings) {
  std::string text;
  for (const auto& [section, keys] : settings.items()) {
    text += "[" + section + "]\n";
    for (const auto& [key, value] : keys.items()) text += key + "=" + value.dump() + "\n";
  }
  return text;
}

class ServiceHistoryTest : public ServiceFixture {
 protected:
  std::string Board(int board, const std::string& route) const {
    return "/api/v1/boards/" + Id(board) + route;
  }
  Json Settings(int board) { return Json::parse(Get(Board(board, "/settings")).body); }
  HttpAnswer Post(const std::string& target, const std::string& body) {
    return Send(http::verb::post, target, body);
  }
  int FanLow(int board) {
    return boards[static_cast<size_t>(board)]->With([](sim::BoardState& s) { return s.config.FanLow; });
  }
};

TEST_F(ServiceHistoryTest, RefusedHistoryRequestsReachNoBoard) {
  // Board 1 has two snapshots, the newer (what undo would bring back) cut short.
  const std::string history = folder + "/data/history/" + Id(0);
  SettingsHistory kept(history, "tests");
  SettingsRecords records;
  records.schedule.resize(4);
  ASSERT_TRUE(kept.Take(records, SnapshotReason::Export, Id(0)).stored);
  records.config.FanLow = 9;
  const SnapshotResult damaged = kept.Take(records, SnapshotReason::BeforeImport, Id(0));
  ASSERT_TRUE(damaged.stored);
  std::filesystem::resize_file(history + "/" + damaged.file, 40);
  ASSERT_TRUE(StartWithBoards()) << Log();

  const HttpAnswer login =
      Send(http::verb::post, "/api/v1/login", R"({"token": ")" + Token() + "\"}", Headers{});
  const std::string cookie = login.Header("Set-Cookie").substr(0, login.Header("Set-Cookie").find(';'));
  const Headers bearer = Bearer(), none, withCookie = {{"Cookie", cookie}};
  const std::string file = "[Config]\nFanLow=60\n";
  struct Case {
    http::verb method;
    std::string target, body;
    int status;
    std::string key;
    Headers headers;
  };
  const Case cases[] = {
      {http::verb::get, "/api/v1/boards/vmx5_none/history", "", 404, "", bearer},
      {http::verb::get, Board(0, "/diff?a=board"), "", 400, "b", bearer},
      {http::verb::get, Board(0, "/diff?a=board&b=/etc/passwd"), "", 400, "b", bearer},
      {http::verb::get, Board(0, "/diff?a=snapshot:-1&b=board"), "", 400, "a", bearer},
      {http::verb::get, Board(0, "/diff?a=board&b=file"), "", 400, "b", bearer},
      {http::verb::get, Board(0, "/diff?a=board&b=snapshot:1&lang=fr"), "", 400, "lang", bearer},
      {http::verb::get, Board(0, "/diff?a=board&b=snapshot:3"), "", 404, "b", bearer},
      {http::verb::get, Board(0, "/diff?a=snapshot:2&b=board"), "", 409, "a", bearer},
      {http::verb::post, Board(0, "/diff?a=board&b=file"), "", 400, "b", bearer},
      {http::verb::post, Board(0, "/diff?a=board&b=file"), std::string("[Config]\0", 9), 400, "b",
       bearer},
      {http::verb::post, Board(0, "/restore"), "{}", 400, "source", bearer},
      {http::verb::post, Board(0, "/restore"), "[1]", 400, "", bearer},
      {http::verb::post, Board(0, "/restore"), R"({"source": "board"})", 400, "source", bearer},
      {http::verb::post, Board(0, "/restore"), R"({"source": "/etc/passwd"})", 400, "source",
       bearer},
      {http::verb::post, Board(0, "/restore"), R"({"source": "snapshot:7"})", 404, "source",
       bearer},
      {http::verb::post, Board(0, "/restore"), R"({"source": "snapshot:latest"})", 409, "source",
       bearer},
      {http::verb::post, Board(0, "/restore"), R"({"source": "file"})", 400, "file", bearer},
      {http::verb::post, Board(0, "/restore"), R"({"source": "file", "file": ""})", 400, "file",
       bearer},
      {http::verb::post, Board(0, "/restore"),
       Json{{"source", "file"}, {"file", file}, {"only", {"bogus"}}}.dump(), 400, "only", bearer},
      {http::verb::post, Board(0, "/restore"),
       Json{{"source", "file"}, {"file", file}, {"only", "config"}}.dump(), 400, "only", bearer},
      {http::verb::post, Board(0, "/restore"),
       Json{{"source", "file"}, {"file", file}, {"only", {"config,weather"}}}.dump(), 400, "only",
       bearer},
      {http::verb::post, Board(0, "/restore"),
       Json{{"source", "file"}, {"file", file}, {"only", Json::array()}}.dump(), 400, "only", bearer},
      {http::verb::post, Board(0, "/restore"),
       Json{{"source", "file"}, {"file", file}, {"only", {"lines=4-3"}}}.dump(), 400, "only", bearer},
      {http::verb::post, Board(0, "/undo"), "", 409, "", bearer},  // the snapshot is damaged
      {http::verb::post, Board(1, "/undo"), "", 409, "", bearer},  // nothing to undo
      {http::verb::post, Board(0, "/restore"), Json{{"source", "file"}, {"file", file}}.dump(), 401,
       "", none},
      {http::verb::post, Board(0, "/restore"), Json{{"source", "file"}, {"file", file}}.dump(), 403,
       "", withCookie},
      {http::verb::get, Board(0, "/history"), "", 401, "", none},
      {http::verb::delete_, Board(0, "/history"), "", 405, "", bearer},
  };
  for (const Case& c : cases) {
    const HttpAnswer a = HttpClient(port).Send(c.method, c.target, c.body, c.headers);
    EXPECT_EQ(a.status, c.status) << c.target << " " << c.body.substr(0, 60) << " -> " << a.body;
    const Json body = Json::parse(a.body, nullptr, false);
    EXPECT_TRUE(body.contains("error")) << c.target << " -> " << a.body;
    if (!c.key.empty()) {
      EXPECT_EQ(body.value("key", ""), c.key) << c.target << " -> " << a.body;
    }
  }
  EXPECT_THAT(Sets(0), IsEmpty());
  EXPECT_THAT(Sets(1), IsEmpty());
  EXPECT_GE(Count(Log(), "refused 127.0.0.1 "), std::size(cases));

  // What was refused leaves the history as it was; the damaged one is listed as such.
  const Json list = Json::parse(Get(Board(0, "/history")).body);
  ASSERT_EQ(list.size(), 2u) << list;
  EXPECT_EQ(list[0]["reason"], "export");
  EXPECT_EQ(list[1]["damaged"], true);
  EXPECT_EQ(list[1]["file"], damaged.file) << "no path of the service's computer";
  EXPECT_EQ(Json::parse(Get(Board(1, "/history")).body), Json::array());
}

TEST_F(ServiceHistoryTest, ARestoreSendsWhatWasChosenAndUndoBringsTheBoardBack) {
  ASSERT_TRUE(StartWithBoards()) << Log();
  const Json before = Settings(0);
  Json changed = before;
  changed["Config"]["FanLow"] = 60;
  changed["1"]["Hour"] = 5;
  const std::string file = FileOf(changed);

  // The file against the board: the two changes, in the pages' units.
  const Json diff = Json::parse(Post(Board(0, "/diff?a=board&b=file"), file).body);
  ASSERT_EQ(diff.size(), 2u) << diff;
  EXPECT_EQ(diff[0]["key"], "FanLow");
  EXPECT_EQ(diff[0]["a_raw"], before["Config"]["FanLow"]);
  EXPECT_EQ(diff[0]["b_raw"], 60);
  EXPECT_THAT(diff[0]["b"].get<std::string>(), ::testing::EndsWith("%"));
  EXPECT_EQ(diff[1]["section"], "1");
  // Captions in the language the keeper asks for, whatever the service speaks.
  const Json german = Json::parse(Post(Board(0, "/diff?a=board&b=file&lang=de"), file).body);
  ASSERT_EQ(german.size(), 2u) << german;
  EXPECT_THAT(german[0]["caption"].get<std::string>(), ::testing::HasSubstr("Langsam"));
  EXPECT_NE(german[0]["caption"], diff[0]["caption"]);
  EXPECT_THAT(Sets(0), IsEmpty());

  const HttpAnswer config = Post(Board(0, "/restore"),
                                 Json{{"source", "file"}, {"file", file}, {"only", {"config"}}}.dump());
  ASSERT_EQ(config.status, 200) << config.body;
  EXPECT_EQ(Json::parse(config.body)["changed"], 1);
  std::vector<std::string> sets = Sets(0);
  ASSERT_EQ(sets.size(), 1u) << ::testing::PrintToString(sets);
  EXPECT_EQ(sets[0].substr(0, 2), "02") << "one SetConfig, no SetSchedule";
  EXPECT_EQ(FanLow(0), 60);

  ASSERT_EQ(Post(Board(0, "/undo"), "").status, 200);
  EXPECT_EQ(FanLow(0), before["Config"]["FanLow"]);
  EXPECT_EQ(Settings(0), before);

  // A whole import, then undo: the board holds what it held before.
  boards[0]->ClearLines();
  ASSERT_EQ(Post(Board(0, "/restore"), Json{{"source", "file"}, {"file", file}}.dump()).status, 200);
  EXPECT_EQ(Settings(0)["1"]["Hour"], 5);
  EXPECT_THAT(Sets(0), Contains(::testing::StartsWith("0301")));
  const Json snapshots = Json::parse(Get(Board(0, "/history")).body);
  ASSERT_FALSE(snapshots.empty());
  EXPECT_EQ(snapshots.back()["reason"], "before-restore");
  EXPECT_EQ(snapshots.back()["program"], "velmarinexd");
  const HttpAnswer undone = Post(Board(0, "/undo"), "");
  ASSERT_EQ(undone.status, 200) << undone.body;
  EXPECT_EQ(Settings(0), before);
  const Json against = Json::parse(
      Get(Board(0, "/diff?a=board&b=snapshot:" + std::to_string(snapshots.size()))).body);
  EXPECT_EQ(against, Json::array()) << "the board holds the snapshot undo went back to";
  EXPECT_TRUE(std::filesystem::is_directory(folder + "/data/history/" + Id(0)));
  EXPECT_THAT(Sets(1), IsEmpty());
}

}  // namespace
}  // namespace vmx::testing
