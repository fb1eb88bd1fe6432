// Grid lines as the Schedule page and the command line show and read them.
#include "settings/schedule_grid.h"

#include <gtest/gtest.h>

#include "link/shared_store.h"

namespace vmx {
namespace {

const GridWords kEnglish{"ON", "OFF", "."};
const GridWords kGermanComma{"EIN", "AUS", ","};

ScheduleRow SampleRow() {
  ScheduleRow r;
  r.Hour = 6;
  r.Minute = 15;
  r.Alt = 5000;
  for (int c = 0; c < kChannels; ++c) r.Color16[c] = static_cast<int16_t>(c * 100);
  r.Color16[0] = 4096;
  r.Color16[1] = 512;
  r.Timer = -5;
  r.Switch = 0x20 | 0x80 | 0x1F;  // display, storms, and the board's own low bits
  return r;
}

TEST(GridFormat, EachColumnInTimeAndAltitudeMeaning) {
  const GridLine time = FormatGridLine(SampleRow(), 3, false, kEnglish);
  EXPECT_EQ(time.cells[0], "3");
  EXPECT_EQ(time.cells[1], "06:15");
  EXPECT_EQ(time.cells[2], "100");
  EXPECT_EQ(time.cells[3], "12.5");
  EXPECT_EQ(time.cells[4], "4.88");  // 200 / 40.96 = 4.8828
  EXPECT_EQ(time.cells[14], "ON");
  EXPECT_EQ(time.cells[15], "OFF");
  EXPECT_EQ(time.cells[16], "ON");
  EXPECT_EQ(time.cells[17], "-5");
  EXPECT_FALSE(time.exactAlt);

  const GridLine geo = FormatGridLine(SampleRow(), 3, true, kGermanComma);
  EXPECT_EQ(geo.cells[1], "30");
  EXPECT_EQ(geo.cells[3], "12,5");
  EXPECT_EQ(geo.cells[14], "EIN");
  EXPECT_EQ(geo.cells[15], "AUS");
  EXPECT_EQ(geo.exactAlt, 5000);
}

TEST(GridFormat, TimesAndAltitudesAtTheirEdges) {
  EXPECT_EQ(TimeCellText(24, 0), "24:00");
  EXPECT_EQ(TimeCellText(7, 30), "07:30");
  EXPECT_EQ(AltitudeCellText(10001, "."), "0") << "no angle has that sine";
  EXPECT_EQ(AltitudeCellText(-10001, "."), "0");
  EXPECT_EQ(AltitudeCellText(10000, "."), "90");
  EXPECT_EQ(AltitudeCellText(-10000, "."), "-90");
  EXPECT_EQ(AltitudeCellText(123, "."), "0.7");
  EXPECT_EQ(PercentCellText(819, "."), "20");
  EXPECT_EQ(PercentCellText(-32768, "."), "-800");
}

// One cell typed into a line that shows SampleRow; the row read back.
ScheduleRow Typed(int column, const std::string& text, bool altitude = false,
                  const GridWords& words = kEnglish) {
  ScheduleRow row = SampleRow();
  GridLine line = FormatGridLine(row, 0, altitude, words);
  line.cells[static_cast<size_t>(column)] = text;
  ReadGridLine(line, altitude, words, row);
  return row;
}

TEST(GridRead, TimeCellHourAndMinuteApart) {
  struct Case {
    const char* text;
    int hour, minute;
  };
  const Case cases[] = {
      {"7", 6, 7},       // no colon: all minute
      {"24:00", 24, 0},  // the end of the day
      {"12:x", 12, 15},  // the hour only
      {"x:30", 6, 30},   // the minute only
      {"300", 6, 44},    // cut to the byte: 300 - 256
      {"$10:0x1F", 16, 31}, {"", 6, 15},
      {"abc", 6, 15},       {"99999999999:5", 6, 5},  // beyond any integer the field could take
      {":", 6, 15},         {"-1:-1", -1, -1},
  };
  for (const Case& c : cases) {
    const ScheduleRow r = Typed(1, c.text);
    EXPECT_EQ(r.Hour, c.hour) << c.text;
    EXPECT_EQ(r.Minute, c.minute) << c.text;
    EXPECT_EQ(r.Alt, 5000) << "a time never touches the altitude: " << c.text;
  }
}

TEST(GridRead, AltitudeCellInGeoMode) {
  EXPECT_EQ(Typed(1, "30", true).Alt, 5000);
  EXPECT_EQ(Typed(1, "-90", true).Alt, -10000);
  EXPECT_EQ(Typed(1, "12,5", true, kGermanComma).Alt, 2164);  // sin 12.5 deg = 0.21644
  for (const char* bad : {"", "x", "nan", "inf", "1e400", "12.5.1", "12:00"}) {
    const ScheduleRow r = Typed(1, bad, true);
    EXPECT_EQ(r.Alt, 5000) << bad;
  }
  const ScheduleRow r = Typed(1, "45", true);
  EXPECT_EQ(r.Hour, 6) << "an altitude never touches the time";
  EXPECT_EQ(r.Minute, 15);
}

TEST(GridRead, AnUntouchedAltitudeKeepsItsExactValue) {
  ScheduleRow row = SampleRow();
  row.Alt = 123;  // shown as 0.7, which reads back as 122
  GridLine line = FormatGridLine(row, 0, true, kEnglish);
  ASSERT_EQ(line.cells[1], "0.7");
  line.cells[14] = "OFF";
  ReadGridLine(line, true, kEnglish, row);
  EXPECT_EQ(row.Alt, 123);
  line.cells[1] = "0.70";  // typed: the typed value counts
  ReadGridLine(line, true, kEnglish, row);
  EXPECT_EQ(row.Alt, 122);
}

TEST(GridRead, ChannelCellsInPercent) {
  constexpr int kUnchanged = 500;  // channel F of SampleRow
  struct Case {
    const char* text;
    const GridWords& words;
    int stored;
  };
  const Case cases[] = {
      {"100", kEnglish, 4096},
      {"12,5", kGermanComma, 512},
      {"12.5", kEnglish, 512},
      {"33.3", kEnglish, 1364},
      {"150", kEnglish, 6144},             // above 100 %: stored as typed
      {"1000", kEnglish, -24576},          // 40960 cut to 16 bits
      {"12.5", kGermanComma, kUnchanged},  // the other separator
      {"1e15", kEnglish, kUnchanged},      // beyond any integer
      {"nan", kEnglish, kUnchanged},
      {"-inf", kEnglish, kUnchanged},
      {"", kEnglish, kUnchanged},
      {"5%", kEnglish, kUnchanged},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Typed(grid::kFirstChannel + 5, c.text, false, c.words).Color16[5], c.stored)
        << c.text;
}

TEST(GridRead, SwitchCellsKeepTheLowBits) {
  EXPECT_EQ(Typed(14, "OFF").Switch, 0x80 | 0x1F);
  EXPECT_EQ(Typed(15, "ON").Switch, 0xE0 | 0x1F);
  EXPECT_EQ(Typed(15, "anything").Switch, 0xE0 | 0x1F) << "whatever is not OFF is on";
  EXPECT_EQ(Typed(16, "AUS", false, kGermanComma).Switch, 0x20 | 0x1F);
  EXPECT_EQ(Typed(16, "OFF", false, kGermanComma).Switch, 0xA0 | 0x1F)
      << "the English word is not the German OFF";
  EXPECT_EQ(ToggledSwitch("ON", kEnglish), "OFF");
  EXPECT_EQ(ToggledSwitch("OFF", kEnglish), "ON");
  EXPECT_EQ(ToggledSwitch("x", kEnglish), "ON");
}

TEST(GridRead, TimerCellIsASignedInteger) {
  EXPECT_EQ(Typed(17, "2200").Timer, 2200);
  EXPECT_EQ(Typed(17, "-1").Timer, -1);
  EXPECT_EQ(Typed(17, "70000").Timer, 4464);  // cut to 16 bits
  EXPECT_EQ(Typed(17, "0x10").Timer, 16);
  EXPECT_EQ(Typed(17, "12.5").Timer, -5);
  EXPECT_EQ(Typed(17, "99999999999").Timer, -5);
}

class GridStoreTest : public ::testing::Test {
 protected:
  GridStoreTest() {
    store.schedule.assign(6, SampleRow());
    store.ResizeRowTables(6);
    store.info.RowCount = 6;
  }
  std::vector<GridLine> Lines() {
    std::vector<GridLine> lines;
    for (int i = 0; i < 6; ++i) {
      ScheduleRow r = SampleRow();
      r.Hour = static_cast<int8_t>(i);
      r.Alt = static_cast<int16_t>(1000 * i);
      lines.push_back(FormatGridLine(r, i, false, kEnglish));
    }
    return lines;
  }
  std::vector<bool> Marks() { return store.RowMarks(); }
  SharedStore store;
};

TEST_F(GridStoreTest, CommitOutsideTheTableDoesNothing) {
  const GridLine line = FormatGridLine(SampleRow(), 0, false, kEnglish);
  EXPECT_FALSE(CommitScheduleRow(store, 6, line, false, kEnglish));
  EXPECT_FALSE(CommitScheduleRow(store, -1, line, false, kEnglish));
  SharedStore empty;
  EXPECT_FALSE(CommitScheduleRow(empty, 0, line, false, kEnglish));
  EXPECT_EQ(store.Requests(), 0u);
  EXPECT_EQ(empty.Requests(), 0u);
  EXPECT_EQ(Marks(), std::vector<bool>(6, false));
}

TEST_F(GridStoreTest, MovingLineTwoToFiveRenumbersTheLinesBetween) {
  std::vector<GridLine> lines = Lines();
  const auto range = MoveGridLine(lines, 1, 4);  // grid lines 2 and 5
  ASSERT_TRUE(range);
  EXPECT_EQ(*range, (std::pair{1, 4}));
  std::vector<std::string> times, numbers;
  for (const GridLine& l : lines) {
    times.push_back(l.cells[1]);
    numbers.push_back(l.cells[0]);
  }
  EXPECT_EQ(times,
            (std::vector<std::string>{"00:15", "02:15", "03:15", "04:15", "01:15", "05:15"}));
  EXPECT_EQ(numbers, (std::vector<std::string>{"0", "1", "2", "3", "4", "5"}));

  for (int i = range->first; i <= range->second; ++i)
    CommitScheduleRow(store, i, lines[static_cast<size_t>(i)], false, kEnglish);
  EXPECT_EQ(store.schedule[4].Hour, 1) << "the moved time reaches its new row";
  EXPECT_EQ(store.schedule[4].Alt, 5000) << "in Auto mode the altitudes stay";
  EXPECT_EQ(Marks(), (std::vector<bool>{false, true, true, true, true, false}));

  // Upward, and the moves that move nothing.
  EXPECT_EQ(MoveGridLine(lines, 5, 0), (std::pair{0, 5}));
  EXPECT_EQ(lines[0].cells[1], "05:15");
  EXPECT_FALSE(MoveGridLine(lines, 3, 3));
  EXPECT_FALSE(MoveGridLine(lines, 6, 0));
  EXPECT_FALSE(MoveGridLine(lines, -1, 2));
}

}  // namespace
}  // namespace vmx
