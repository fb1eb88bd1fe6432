// A board's log as the browser interface reads it: bounded, oldest first,
// each entry stamped in UTC, line ends of the link's messages dropped.
#include <gtest/gtest.h>

#include "service/board_log.h"

namespace vmx::service {
namespace {

TEST(BoardLog, KeepsTheNewestEntriesStampedInUtc) {
  using namespace std::chrono;
  BoardLog log;
  const sys_days day = 2025y / March / 1;
  struct Case {
    std::string text, kept;
    system_clock::time_point at;
    std::string time;
  };
  const Case cases[] = {
      {"Connected to /dev/ttyUSB0\r\n", "Connected to /dev/ttyUSB0", day + 12h + 250ms,
       "2025-03-01T12:00:00.250Z"},
      {"Done.\n", "Done.", day + 23h + 59min + 59s + 999ms, "2025-03-01T23:59:59.999Z"},
      {"", "", day, "2025-03-01T00:00:00.000Z"},
      {"two\nlines", "two\nlines", day + 1s, "2025-03-01T00:00:01.000Z"},
  };
  for (const Case& c : cases) log.Add(c.text, c.at);
  const cli::Json entries = log.Entries();
  ASSERT_EQ(entries.size(), std::size(cases));
  for (size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(entries[i]["text"], cases[i].kept) << i;
    EXPECT_EQ(entries[i]["time"], cases[i].time) << i;
  }
  for (size_t i = 0; i < BoardLog::kKept; ++i) log.Add("line " + std::to_string(i), day);
  const cli::Json bounded = log.Entries();
  ASSERT_EQ(bounded.size(), BoardLog::kKept);
  EXPECT_EQ(bounded.front()["text"], "line 0");
  EXPECT_EQ(bounded.back()["text"], "line " + std::to_string(BoardLog::kKept - 1));
}

}  // namespace
}  // namespace vmx::service
