// The service's other doors: HTTPS with a certificate of its own, and the
// MQTT bridge for every board, on the same code as `velmarinex-cli mqtt`.
#include <gmock/gmock.h>

#include "tests/service/service_fixture.h"

namespace vmx::testing {
namespace {

using ::testing::HasSubstr;

class ServiceBridgesTest : public ServiceFixture {
 protected:
  // curl, a client of its own, over TLS; what it printed, headers first.
  std::string Curl(const std::vector<std::string>& args) {
    std::string command = "curl -sk -i --max-time 20";
    for (const std::string& a : args) command += " '" + a + "'";
    command += " > " + folder + "/curl.out 2>&1";
    std::system(command.c_str());
    return ReadAll(folder + "/curl.out");
  }
};

TEST_F(ServiceBridgesTest, TlsServesTheApiAndMarksTheCookieSecure) {
  const std::string key = folder + "/key.pem", cert = folder + "/cert.pem";
  ASSERT_EQ(std::system(("openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:P-256 -nodes "
                         "-days 2 -subj /CN=localhost -keyout " + key + " -out " + cert +
                         " > /dev/null 2>&1").c_str()),
            0);
  ASSERT_TRUE(Start({"--tls-cert", cert, "--tls-key", key})) << Log();
  EXPECT_THAT(Log(), HasSubstr("listening on https://127.0.0.1:"));
  const std::string base = "https://127.0.0.1:" + std::to_string(port) + "/api/v1";
  EXPECT_THAT(Curl({base + "/health"}), HasSubstr("HTTP/1.1 200"));
  const std::string login =
      Curl({"-X", "POST", "-d", "{\"token\": \"" + Token() + "\"}", base + "/login"});
  EXPECT_THAT(login, HasSubstr("HTTP/1.1 200"));
  EXPECT_THAT(login, HasSubstr("; Secure"));
  ASSERT_TRUE(WaitUntil([&] {
    return Curl({"-H", "Authorization: Bearer " + Token(), base + "/boards"}).find("\"complete\":true") !=
           std::string::npos;
  }, 10s)) << Log();
  // Plain HTTP to the TLS port gets no answer.
  EXPECT_EQ(HttpClient(port).Send(http::verb::get, "/api/v1/health").status, 0);
}

TEST_F(ServiceBridgesTest, EveryBoardIsBridgedToTheBroker) {
  if (std::string(VMX_MOSQUITTO_PROGRAM).empty()) GTEST_SKIP() << "no mosquitto broker";
  Broker broker(VMX_MOSQUITTO_PROGRAM, folder, FreeLocalPort());
  ASSERT_TRUE(broker.Start()) << ReadAll(folder + "/broker.log");
  Probe probe(broker.Port());
  ASSERT_TRUE(StartWithBoards(
      {"--mqtt", "127.0.0.1:" + std::to_string(broker.Port()), "--id-prefix", "kitchen_"}))
      << Log();
  for (int i = 0; i < 2; ++i)
    EXPECT_TRUE(probe.WaitFor("velmarinex/kitchen_" + Id(i) + "/availability", "online")) << Log();
  boards[1]->ClearLines();
  probe.Publish("velmarinex/kitchen_" + Id(1) + "/set/config/FanLow", "78");
  ASSERT_TRUE(WaitUntil([&] { return !Sets(1).empty(); }, 10s)) << Log();
  ASSERT_EQ(Sets(1).size(), 1u);
  EXPECT_EQ(Sets(1)[0].substr(0, 2), "02");
  EXPECT_EQ(Sets(1)[0].substr(6, 2), "4E");
  EXPECT_TRUE(WaitUntil([&] {
    return Get("/api/v1/boards/kitchen_" + Id(1) + "/settings").body.find("\"FanLow\":78") !=
           std::string::npos;
  }, 10s));
  EXPECT_TRUE(Sets(0).empty());
}

}  // namespace
}  // namespace vmx::testing
