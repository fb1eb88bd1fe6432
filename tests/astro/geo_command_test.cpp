// velmarinex-cli geo run as a program: what it prints, its exit codes, and the
// zone it takes from the environment when none is named.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "tests/support/program.h"

namespace {

// Runs the program with `args` (words split at blanks) and one variable of
// the environment; .out is its standard output, .err its error output.
vmx::testing::Ran Cli(const std::string& args, const std::string& env = "TZ=UTC0") {
  std::vector<std::string> words{VMX_CLI_PATH};
  std::istringstream split(args);
  for (std::string word; split >> word;) words.push_back(word);
  return vmx::testing::RunProgram(words, {.env = {env}});
}

const char* const kBerlin = "geo --lat 52.5 --lon 13.4 --date 2024-06-21 --time 12:00";
const char* const kBerlinLines =
    "Sun: Azimuth: 149.3°, Alt: 58.2°, Rise: 04:51, Set: 21:26, Length of day: 16:35 hours\n"
    "Moon: Azimuth: 343°, Alt: -65.2°, Rise: 21:57, Set: 03:21, Phase: 99.5%\n";

TEST(GeoCommand, PrintsTheTwoLinesOfThePage) {
  const vmx::testing::Ran r = Cli(std::string(kBerlin) + " --zone 2");
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.out, kBerlinLines);
}

TEST(GeoCommand, WithoutZoneTakesTheComputersZoneAtTheBoardsDate) {
  const std::string europe = "TZ=CET-1CEST,M3.5.0,M10.5.0/3";
  EXPECT_EQ(Cli(kBerlin, europe).out, kBerlinLines);
  const vmx::testing::Ran json = Cli(std::string(kBerlin) + " --json", "TZ=<+0530>-5:30");
  EXPECT_NE(json.out.find("{\"zone\": 5, "), std::string::npos) << json.out;
  const vmx::testing::Ran winter =
      Cli("geo --lat 52.5 --lon 13.4 --date 2024-01-15 --time 12:00 --json", europe);
  EXPECT_NE(winter.out.find("{\"zone\": 1, "), std::string::npos) << winter.out;
}

TEST(GeoCommand, JsonHoldsEveryValueBehindTheLines) {
  const vmx::testing::Ran r =
      Cli("geo --lat 80 --lon 15 --date 2024-06-21 --time 12:00 --zone 2 --json");
  EXPECT_EQ(r.code, 0);
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
    const vmx::testing::Ran r = Cli(args);
    EXPECT_EQ(r.code, 2) << args;
    EXPECT_EQ(r.out, "") << args;
    EXPECT_NE(r.err.find("usage: velmarinex-cli geo"), std::string::npos) << args;
  }
}

TEST(Dispatcher, UnknownOrMissingCommand) {
  EXPECT_EQ(Cli("").code, 2);
  EXPECT_EQ(Cli("frobnicate").code, 2);
  const vmx::testing::Ran help = Cli("help");
  EXPECT_EQ(help.code, 0);
  EXPECT_NE(help.out.find("  geo  "), std::string::npos);
}

}  // namespace
