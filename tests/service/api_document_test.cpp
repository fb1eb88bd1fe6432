// The API's rules that need no board: every route is documented and the
// document is valid OpenAPI 3.1; the settings keys' ranges; the Host rule;
// options from the file and the command line.
#include <gmock/gmock.h>
#include <nlohmann/json.hpp>

#include <cstdio>
#include <fstream>

#include "app/port_source.h"
#include "lang/catalogue.h"
#include "service/service_api.h"
#include "settings/settings_key_table.h"
#include "tests/plain_files.h"

namespace vmx::embedded {
extern const std::string_view openapi_json;
}

namespace vmx::service {
namespace {

using nlohmann::json;

class NoPorts final : public PortSource {
 public:
  std::vector<SerialDevice> Devices() override { return {}; }
};

TEST(ApiDocumentTest, EveryRouteTheServiceServesIsDocumented) {
  boost::asio::io_context io;
  ServiceOptions options;
  ServiceLog log;
  EventHub events(io, [](const std::string&) { return Json(nullptr); });
  BoardHub boards(io, options, events, log, std::make_unique<NoPorts>());
  auto hasher = MakePasswordHasher();
  auto random = MakeRandomSource();
  Access access({}, *hasher, *random);
  ServiceApi api(io, boards, events, access, log);
  const json document = json::parse(embedded::openapi_json);
  ASSERT_GE(api.Routes().Routes().size(), 15u);
  for (const Route& route : api.Routes().Routes()) {
    std::string method(View(http::to_string(route.method)));
    for (char& c : method) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_TRUE(document["paths"].contains(route.pattern)) << route.pattern;
    if (!document["paths"].contains(route.pattern)) continue;
    const json& path = document["paths"][route.pattern];
    ASSERT_TRUE(path.contains(method)) << method << " " << route.pattern;
    // An open route says so; every other one needs credentials.
    EXPECT_EQ(path[method].contains("security") && path[method]["security"].empty(), route.open)
        << route.pattern;
  }
}

TEST(ApiDocumentTest, TheDocumentIsValidOpenApi) {
  const std::string out = ::testing::TempDir() + "/openapi-validation.txt";
  const std::string command = std::string(VMX_OPENAPI_VALIDATOR) + " " + VMX_OPENAPI_JSON + " > " +
                              out + " 2>&1";
  std::system(command.c_str());
  const std::string report = vmx::testing::ReadAll(out);
  EXPECT_THAT(report, ::testing::HasSubstr("\"valid\": true")) << report;
}

TEST(ApiDocumentTest, KeysCarryTheirFieldsRangeAndThePagesSlider) {
  struct Case {
    std::string section, key, type;
    int64_t min, max;
    std::optional<int64_t> sliderMax;
    std::string shown;
  };
  const Case cases[] = {
      {"Config", "FanLow", "u8", 0, 255, 255, "percent255"},
      {"config", "fanlow", "u8", 0, 255, 255, "percent255"},
      {"Config", "Lat", "s16", -32768, 32767, std::nullopt, "integer"},
      {"Config", "TempOffset", "s8", -128, 127, std::nullopt, "tenths"},
      {"Weather", "CloudStep", "u16", 0, 65535, 5000, "integer"},
      {"Weather", "Balance3", "u8", 0, 255, 100, "integer"},
      {"Row", "Color1611", "s16", -32768, 32767, std::nullopt, "integer"},
  };
  for (const Case& c : cases) {
    const SettingsKeyInfo* info = FindSettingsKeyInfo(c.section, c.key);
    ASSERT_TRUE(info) << c.key;
    EXPECT_EQ(info->type, c.type) << c.key;
    EXPECT_EQ(info->minimum, c.min) << c.key;
    EXPECT_EQ(info->maximum, c.max) << c.key;
    EXPECT_EQ(info->sliderMaximum, c.sliderMax) << c.key;
    EXPECT_EQ(info->shown, c.shown) << c.key;
    EXPECT_FALSE(KeyRangeProblem(*info, c.max));
    EXPECT_TRUE(KeyRangeProblem(*info, c.max + 1));
    EXPECT_TRUE(KeyRangeProblem(*info, c.min - 1));
  }
  EXPECT_EQ(FindSettingsKeyInfo("Config", "FanLow")->caption, "edtFanLow.Caption");
  EXPECT_FALSE(FindSettingsKeyInfo("Config", "Hour"));
  EXPECT_FALSE(FindSettingsKeyInfo("Konfig", "FanLow"));
}

TEST(ApiDocumentTest, OnlyTheServicesOwnNamesPassTheHostRule) {
  auto hasher = MakePasswordHasher();
  auto random = MakeRandomSource();
  Access::Config config;
  config.hosts = {"127.0.0.1", "localhost", "Tank.Home"};
  Access access(config, *hasher, *random);
  const std::pair<std::string, bool> cases[] = {
      {"127.0.0.1:8470", true}, {"localhost", true},   {"LOCALHOST:1", true},
      {"tank.home:443", true},  {"evil.example", false}, {"127.0.0.1.evil.example", false},
      {"", false},              {"[::1]:8470", false},  {"localhost.:8470", false},
  };
  for (const auto& [host, allowed] : cases) EXPECT_EQ(access.HostAllowed(host), allowed) << host;
}

TEST(ApiDocumentTest, TheCommandLineWinsOverTheConfigFile) {
  const std::string file = ::testing::TempDir() + "/velmarinexd.conf";
  vmx::testing::WriteText(file,
                          "# two boards\nport /dev/ttyUSB0\nid tank1\nport=/dev/ttyUSB1\n"
                          "listen 0.0.0.0:9000\nallow-host tank.home\nlog-level debug\n");
  std::string problem;
  auto o = ParseServiceOptions({"--config", file, "--listen", "127.0.0.1:8471"}, problem);
  ASSERT_TRUE(o) << problem;
  EXPECT_EQ(o->listenHost, "127.0.0.1");
  EXPECT_EQ(o->listenPort, 8471);
  ASSERT_EQ(o->ports.size(), 2u);
  EXPECT_EQ(o->ports[0].id, "tank1");
  EXPECT_EQ(o->logLevel, "debug");
  o = ParseServiceOptions({"--config", file, "--port", "rfcomm0"}, problem);
  ASSERT_TRUE(o) << problem;
  ASSERT_EQ(o->ports.size(), 1u) << "the command line's ports replace the file's";
  EXPECT_EQ(o->ports[0].port, "rfcomm0");
  EXPECT_EQ(ListenProblem(*o), "listening beyond this computer needs --users FILE");
  const std::vector<std::vector<std::string>> refused = {
      {"--listen", "8470"},        {"--id", "x"},           {"--port", "a", "--id", "a b"},
      {"--tls-cert", "c"},         {"--mqtt", ":1"},        {"--log-level", "loud"},
      {"--add-user", "a"},         {"--frobnicate"},        {"--board-timeout", "0"}};
  for (const auto& words : refused)
    EXPECT_FALSE(ParseServiceOptions(words, problem)) << ::testing::PrintToString(words);
  // The service manager's options belong to the Windows build.
  for (const char* word : {"--install-service", "--uninstall-service", "--as-service"}) {
    EXPECT_FALSE(ParseServiceOptions({word, "--data", "/srv/velmarinex"}, problem)) << word;
    EXPECT_EQ(problem, LangText("ServiceNoScm")) << word;
  }
}

}  // namespace
}  // namespace vmx::service
