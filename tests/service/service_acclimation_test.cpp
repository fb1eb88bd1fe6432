// Acclimation plans through velmarinexd: the service applies a board's plan
// when it has read the board, never a step twice, and its routes make, show
// and cancel plans with the steps counted on the wire.
#include <gmock/gmock.h>
#include <nlohmann/json.hpp>

#include <thread>

#include "persist/held_boards.h"
#include "planning/plan_file.h"
#include "tests/planning/plan_helpers.h"
#include "tests/service/service_fixture.h"

namespace vmx::testing {
namespace {

using ::testing::IsEmpty;
using Json = nlohmann::json;

class ServiceAcclimationTest : public ServiceFixture {
 protected:
  std::string Plan(int board) const { return "/api/v1/boards/" + Id(board) + "/acclimation"; }
  std::vector<ScheduleRow> Schedule(int board) {
    return boards[static_cast<size_t>(board)]->With([](sim::BoardState& s) { return s.schedule; });
  }
  // What the service changed on a board: Set lines by their first two bytes.
  std::vector<std::string> Writes(int board) const {
    std::vector<std::string> out;
    for (const std::string& line : Sets(board)) out.push_back(line.substr(0, 4));
    return out;
  }
  // One step: every line once, in order, then one EEPROM save.
  static std::vector<std::string> OneStep() { return {"0300", "0301", "0302", "0303", "7F01"}; }
};

TEST_F(ServiceAcclimationTest, TheServiceAppliesAPlanOnceAndItsRoutesMakeAndCancelPlans) {
  // A plan begun five days ago, while the service was away.
  const long long today = TodayOnComputer();
  const std::vector<ScheduleRow> target = Schedule(0);
  const AcclimationPlan missed = PlanOver(target, 50, 10, today - 5);
  ASSERT_EQ(StorePlan(folder + "/data", Id(0), missed), "");
  ASSERT_TRUE(StartWithBoards()) << Log();
  // The window on this computer leaves the plans of these boards to the service.
  EXPECT_TRUE(ServiceHolds(Id(0), {folder + "/velmarinex/held"}));
  ASSERT_TRUE(WaitUntil([&] { return Writes(0).size() >= OneStep().size(); }, 10s)) << Log();
  EXPECT_EQ(Writes(0), OneStep()) << "nothing but the rows and one save";
  const bool sixth = Schedule(0) != StepRows(missed, 5);  // midnight may have passed meanwhile
  EXPECT_EQ(Schedule(0), StepRows(missed, sixth ? 6 : 5));
  // The save is on the wire a moment before the plan file records the step.
  Json status;
  EXPECT_TRUE(
      WaitUntil([&] { return (status = Json::parse(Get(Plan(0)).body))["eeprom_saves"] == 1; }, 5s))
      << status;
  EXPECT_EQ(status["state"], "running");
  EXPECT_EQ(status["eeprom_saves"], 1);
  EXPECT_EQ(status["applied_day"], sixth ? 6 : 5);

  // Back after a restart: today's step is on the board already.
  service.Stop();
  EXPECT_FALSE(ServiceHolds(Id(0), {folder + "/velmarinex/held"}));
  boards[0]->ClearLines();
  ASSERT_TRUE(StartWithBoards()) << Log();
  std::this_thread::sleep_for(2s);  // two of the service's rounds
  EXPECT_THAT(Writes(0), IsEmpty());

  // Made through the route: today's step at once.
  const std::vector<ScheduleRow> second = Schedule(1);
  const HttpAnswer made =
      Send(http::verb::put, Plan(1), R"({"start": 40, "days": 10, "channels": "A-B"})");
  ASSERT_EQ(made.status, 200) << made.body;
  EXPECT_EQ(Json::parse(made.body)["factor"], 40);
  EXPECT_EQ(Writes(1), OneStep());
  EXPECT_EQ(Schedule(1), StepRows(*LoadPlan(folder + "/data", Id(1)).plan, 0));
  EXPECT_NE(Schedule(1), second);

  // A line put back through the restore route is the plan's new target: 20 %
  // (819) of channel A while the plan gives 40 % stands for 50 %.
  boards[1]->ClearLines();
  const HttpAnswer restored = Send(
      http::verb::post, "/api/v1/boards/" + Id(1) + "/restore",
      Json{{"source", "file"}, {"file", "[1]\nColor160=819\n"}, {"only", {"1.Color160"}}}.dump());
  ASSERT_EQ(restored.status, 200) << restored.body;
  EXPECT_EQ(Json::parse(Get(Plan(1)).body)["state"], "running") << "not paused by its own edit";
  std::vector<ScheduleRow> wanted = second;
  wanted[1].Color16[0] = 2048;

  boards[1]->ClearLines();
  const HttpAnswer cancelled = Send(http::verb::delete_, Plan(1));
  ASSERT_EQ(cancelled.status, 200) << cancelled.body;
  EXPECT_EQ(Json::parse(cancelled.body)["state"], "cancelled");
  EXPECT_EQ(Writes(1), OneStep());
  EXPECT_EQ(Schedule(1), wanted) << "the full schedule is back, with the restored line";
}

TEST_F(ServiceAcclimationTest, RefusedPlansReachNoBoard) {
  ASSERT_TRUE(StartWithBoards()) << Log();
  struct Case {
    http::verb method;
    std::string target, body;
    int status;
    std::string key;
  };
  const Case cases[] = {
      {http::verb::put, Plan(0), R"({"start": 101, "days": 10})", 400, "start"},
      {http::verb::put, Plan(0), R"({"start": "50", "days": 10})", 400, "start"},
      {http::verb::put, Plan(0), R"({"start": 50.5, "days": 10})", 400, "start"},
      {http::verb::put, Plan(0), R"({"start": 50, "days": 0})", 400, "days"},
      {http::verb::put, Plan(0), R"({"start": 50, "days": 1e12})", 400, "days"},
      {http::verb::put, Plan(0), R"({"start": 50})", 400, "days"},
      {http::verb::put, Plan(0), R"({"start": 50, "days": 10, "channels": "Z"})", 400, "channels"},
      {http::verb::put, Plan(0), R"({"start": 50, "days": 10, "from": "2024-13-01"})", 400, "from"},
      {http::verb::put, Plan(0), "[50, 10]", 400, ""},
      {http::verb::delete_, Plan(0), "", 404, ""},
      {http::verb::get, "/api/v1/boards/vmx5_none/acclimation", "", 404, ""},
  };
  for (const Case& c : cases) {
    const HttpAnswer a = Send(c.method, c.target, c.body);
    EXPECT_EQ(a.status, c.status) << c.body << " -> " << a.body;
    if (!c.key.empty()) {
      EXPECT_EQ(Json::parse(a.body).value("key", ""), c.key) << c.body << " -> " << a.body;
    }
  }
  EXPECT_EQ(
      HttpClient(port).Send(http::verb::put, Plan(0), R"({"start": 50, "days": 10})", {}).status,
      401);
  EXPECT_EQ(Json::parse(Get(Plan(0)).body)["state"], "none");
  EXPECT_THAT(Sets(0), IsEmpty());
  EXPECT_FALSE(std::filesystem::exists(PlanPath(folder + "/data", Id(0))));
}

}  // namespace
}  // namespace vmx::testing
