// velmarinex-cli geo run as a program: what it prints, its exit codes, and the
// zone it takes from the environment when none is named.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <string>

namespace {

struct Outcome {
  std::string out;
  int status = -1;
};

// Runs a shell command line; stdout is captured, stderr only when redirected.
Outcome Shell(const std::string& command) {
  Outcome r;
  FILE* p = popen(command.c_str(), "r");
  if (!p) return r;
  std::array<char, 4096> buf;
  size_t n;
  while ((n = fread(buf.data(), 1, buf.size(), p)) > 0) r.out.append(buf.data(), n);
  const int raw = pclose(p);
  r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return r;
}

Outcome Cli(const std::string& args, const std::string& env = "TZ=UTC0") {
  return Shell("env " + env + " '" VMX_CLI_PATH "' " + args + " 2>/dev/null");
}

const char* const kBerlin = "geo --lat 52.5 --lon 13.4 --date 2024-06-21 --time 12:00";
const char* const kBerlinLines =
    "Sun: Azimuth: 149.3°, Alt: 58.2°, Rise: 04:51, Set: 21:26, Length of day: 16:35 hours\n"
    "Moon: Azimuth: 343°, Alt: -65.2°, Rise: 21:57, Set: 03:21, Phase: 99.5%\n";

TEST(GeoCommand, PrintsTheTwoLinesOfThePage) {
  const Outcome r = Cli(std::string(kBerlin) + " --zone 2");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, kBerlinLines);
}

TEST(GeoCommand, WithoutZoneTakesTheComputersZoneAtTheBoardsDate) {
  const std::string europe = "TZ=CET-1CEST,M3.5.0,M10.5.0/3";
  EXPECT_EQ(Cli(kBerlin, europe).out, kBerlinLines);
  const Outcome json = Cli(std::string(kBerlin) + " --json", "TZ='<+0530>-5:30'");
  EXPECT_NE(json.out.find("{\"zone\": 5, "), std::string::npos) << json.out;
  const Outcome winter =
      Cli("geo --lat 52.5 --lon 13.4 --date 2024-01-15 --time 12:00 --json", europe);
  EXPECT_NE(winter.out.find("{\"zone\": 1, "), std::string::npos) << winter.out;
}

TEST(GeoCommand, JsonHoldsEveryValueBehindTheLines) {
  const Outcome r = Cli("geo --lat 80 --lon 15 --date 2024-06-21 --time 12:00 --zone 2 --json");
  EXPECT_EQ(r.status, 0);
  const std::string& j = r.out;
  EXPECT_EQ(j.front(), '{');
  EXPECT_EQ(j.substr(j.size() - 2), "}\n");
  for (const char* part :
       {"\"zone\": 2, \"sun\": {\"Az\": ", "\"EastOfMeridian\": true", "\"SignName\": \"Krebs\"",
        "\"sun_times\": {\"Rise\": 1.02", "\"CivilDusk\": ", "\"AstronomicalDawn\": ",
        "\"moon\": {\"Az\": ", "\"PhaseName\": \"Vollmond\"", "\"Illumination\": 0.9",
        "\"moon_times\": {\"Rise\": -1, \"Set\": -1, \"Transit\": ",
        "\"lines\": [\"Sun: Azimuth: "})
    EXPECT_NE(j.find(part), std::string::npos) << part << "\n" << j;
}

TEST(GeoCommand, GermanWords) {
  EXPECT_EQ(Cli(std::string(kBerlin) + " --zone 2 --german").out,
            "Sonne: Azimut: 149.3°, Höhe: 58.2°, Aufgang: 04:51, Untergang: 21:26, Tageslänge: "
            "16:35 Stunden\n"
            "Mond: Azimut: 343°, Höhe: -65.2°, Aufgang: 21:57, Untergang: 03:21, Phase: 99.5%\n");
}

TEST(GeoCommand, LocationIsRoundedToTenthsAsTheBoardKeepsIt) {
  EXPECT_EQ(Cli("geo --lat 52.46 --lon 13.4449 --date 2024-06-21 --time 12:00 --zone 2").out,
            kBerlinLines);
}

TEST(GeoCommand, BadArgumentsGiveUsageAndExitCode2) {
  for (const char* args : {
           "geo",
           "geo --lon 13.4 --date 2024-06-21 --time 12:00",
           "geo --lat 52.5 --lon 13.4 --date 2024-02-30 --time 12:00",
           "geo --lat 52.5 --lon 13.4 --date 2024-6-21 --time 12:00",
           "geo --lat 52.5 --lon 13.4 --date 2024-06-21 --time 24:00",
           "geo --lat 52.5 --lon 13.4 --date 2024-06-21 --time 12",
           "geo --lat 91 --lon 13.4 --date 2024-06-21 --time 12:00",
           "geo --lat north --lon 13.4 --date 2024-06-21 --time 12:00",
           "geo --lat nan --lon 13.4 --date 2024-06-21 --time 12:00",
           "geo --lat 52.5 --lat 52.5 --lon 13.4 --date 2024-06-21 --time 12:00",
           "geo --lat 52.5 --lon 13.4 --date 2024-06-21 --time 12:00 --zone 30",
           "geo --lat 52.5 --lon 13.4 --date 2024-06-21 --time 12:00 --frobnicate 1",
           "geo --lat 52.5 --lon 13.4 --date 2024-06-21 --time 12:00 --zone",
       }) {
    const Outcome r = Cli(args);
    EXPECT_EQ(r.status, 2) << args;
    EXPECT_EQ(r.out, "") << args;
    const Outcome err = Shell("'" VMX_CLI_PATH "' " + std::string(args) + " 2>&1 >/dev/null");
    EXPECT_NE(err.out.find("usage: velmarinex-cli geo"), std::string::npos) << args;
  }
}

TEST(Dispatcher, UnknownOrMissingCommand) {
  EXPECT_EQ(Cli("").status, 2);
  EXPECT_EQ(Cli("frobnicate").status, 2);
  const Outcome help = Cli("help");
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("  geo  "), std::string::npos);
}

}  // namespace
