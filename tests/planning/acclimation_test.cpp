// Acclimation plans without a board: the day's factor and its rounding, the
// step's rows, what a day with a given board asks for, edits made through
// the program, channel sets and the stored text.
#include <gtest/gtest.h>

#include "planning/acclimation.h"
#include "planning/plan_file.h"

namespace vmx {
namespace {

ScheduleRow Row(int hour, int16_t level, int16_t alt = 0) {
  ScheduleRow r;
  r.Hour = static_cast<int8_t>(hour);
  r.Minute = 30;
  r.Alt = alt;
  r.Timer = 77;
  r.Switch = 0xE0;
  r.Color16.fill(level);
  return r;
}

AcclimationPlan Plan(int start, int days, uint16_t channels = kAllChannels) {
  AcclimationPlan p;
  p.startPercent = start;
  p.days = days;
  p.channels = channels;
  p.firstDay = 20000;
  p.target = {Row(7, 0), Row(12, 4096, 5000), Row(20, 1001)};
  return p;
}

TEST(Acclimation, ScaledLevelsRoundHalfToEvenWithinTheRange) {
  struct Case {
    int start, days, day, level, scaled;
  } cases[] = {
      {50, 10, 5, 4096, 3072},  // 75 %
      {50, 10, 0, 1001, 500},   // 500.5 -> 500
      {50, 10, 0, 1003, 502},   // 501.5 -> 502
      {50, 10, 0, 3, 2},        // 1.5 -> 2
      {50, 10, 0, 5, 2},        // 2.5 -> 2
      {0, 4, 0, 4096, 0},
      {0, 4, 1, 4096, 1024},
      {30, 7, 3, 1000, 600},    // 30 + 70 x 3/7 = 60 %
      {30, 7, 7, 999, 999},     // the last day: the target
      {30, 7, 40, 999, 999},    // and after it
      {30, 7, -2, 1000, 300},   // before day 0: the start
      {50, 10, 5, 5000, 3750},  // a level beyond full is clamped after scaling
      {100, 3, 0, 5000, 4096},
      {50, 10, 5, -20, 0},
  };
  for (const Case& c : cases) {
    const AcclimationPlan p = Plan(c.start, c.days);
    EXPECT_EQ(ScaleLevel(c.level, p, c.day), std::min(c.scaled, 4096))
        << c.start << "% over " << c.days << " days, day " << c.day << ", level " << c.level;
  }
  EXPECT_DOUBLE_EQ(DayFactorPercent(Plan(50, 10), 5), 75);
  EXPECT_DOUBLE_EQ(DayFactorPercent(Plan(30, 7), 3), 60);
}

TEST(Acclimation, StepTouchesOnlyThePlannedChannelsLevels) {
  const AcclimationPlan p = Plan(50, 10, 0b101);  // A and C
  const std::vector<ScheduleRow> rows = StepRows(p, 5);
  ASSERT_EQ(rows.size(), 3u);
  for (size_t i = 0; i < rows.size(); ++i) {
    ScheduleRow expected = p.target[i];
    expected.Color16[0] = ScaleLevel(p.target[i].Color16[0], p, 5);
    expected.Color16[2] = ScaleLevel(p.target[i].Color16[2], p, 5);
    EXPECT_EQ(rows[i], expected) << "row " << i;
  }
  EXPECT_EQ(rows[1].Color16[0], 3072);
  EXPECT_EQ(rows[1].Color16[1], 4096);
  // A board may hold more than full (levels are cut to the field only).
  AcclimationPlan beyond = Plan(50, 10);
  beyond.target[1].Color16[0] = 5000;
  EXPECT_EQ(StepRows(beyond, 9)[1].Color16[0], 4096) << "clamped while the plan runs";
  EXPECT_EQ(StepRows(beyond, 10)[1].Color16[0], 5000) << "the board's own level back at the end";
}

TEST(Acclimation, WhatADayAsksFor) {
  using K = StepDecision::Kind;
  AcclimationPlan fresh = Plan(50, 10);
  AcclimationPlan applied = Plan(50, 10);
  applied.written = StepRows(applied, 3);
  applied.appliedDay = 3;
  applied.saves = 1;
  std::vector<ScheduleRow> edited = applied.written;
  edited[2].Hour = 21;
  std::vector<ScheduleRow> halfway = applied.written;
  AcclimationPlan writing = applied;
  writing.writing = StepRows(applied, 5);
  halfway[0] = writing.writing[0];
  AcclimationPlan paused = applied;
  paused.state = AcclimationPlan::State::Paused;
  AcclimationPlan finished = applied;
  finished.state = AcclimationPlan::State::Finished;
  struct Case {
    const char* what;
    const AcclimationPlan& plan;
    std::vector<ScheduleRow> board;
    long long day;
    K kind;
    int stepDay;
    bool finishes;
  } cases[] = {
      {"first step on the target", fresh, fresh.target, 0, K::Write, 0, false},
      {"first step some days in", fresh, fresh.target, 4, K::Write, 4, false},
      {"day 0 ahead", fresh, fresh.target, -1, K::Nothing, 0, false},
      {"today's step on the board", applied, applied.written, 3, K::Nothing, 3, false},
      {"next day", applied, applied.written, 4, K::Write, 4, false},
      {"days missed: only today's", applied, applied.written, 7, K::Write, 7, false},
      {"the last day writes the target", applied, applied.written, 10, K::Write, 10, true},
      {"long after: the target once", applied, applied.written, 30, K::Write, 10, true},
      {"a row changed on the board", applied, edited, 4, K::Pause, 0, false},
      {"a row changed on the day's own step", applied, edited, 3, K::Pause, 0, false},
      {"a row less", applied, {applied.written[0], applied.written[1]}, 4, K::Pause, 0, false},
      {"a write cut short is the plan's own", writing, halfway, 5, K::Write, 5, false},
      {"paused", paused, applied.written, 4, K::Nothing, 0, false},
      {"finished", finished, applied.written, 4, K::Nothing, 0, false},
  };
  for (const Case& c : cases) {
    const StepDecision step = DecideStep(c.plan, c.board, c.plan.firstDay + c.day);
    EXPECT_EQ(step.kind, c.kind) << c.what;
    if (step.kind != K::Write) continue;
    EXPECT_EQ(step.day, c.stepDay) << c.what;
    EXPECT_EQ(step.finishes, c.finishes) << c.what;
    EXPECT_EQ(step.rows, StepRows(c.plan, c.stepDay)) << c.what;
  }

  StepDecision step = DecideStep(applied, applied.written, applied.firstDay + 10);
  StepDone(applied, step);
  EXPECT_EQ(applied.state, AcclimationPlan::State::Finished);
  EXPECT_EQ(applied.written, applied.target);
  EXPECT_EQ(applied.saves, 2);
}

TEST(Acclimation, AnEditThroughTheProgramBecomesTheTarget) {
  AcclimationPlan p = Plan(50, 10, 0b11);  // A and B
  p.written = StepRows(p, 5);              // 75 %
  p.appliedDay = 5;
  std::vector<ScheduleRow> edited = p.written;
  edited[1].Color16[0] = 1500;  // A typed as 1500 on the board today
  edited[1].Color16[2] = 99;    // C is not planned: taken as it is
  edited[2].Hour = 22;
  AdoptEdit(p, edited, p.firstDay + 5);
  EXPECT_EQ(p.target[1].Color16[0], 2000) << "1500 / 0.75";
  EXPECT_EQ(p.target[1].Color16[1], 4096) << "left alone: keeps its target";
  EXPECT_EQ(p.target[1].Color16[2], 99);
  EXPECT_EQ(p.target[2].Hour, 22);
  EXPECT_EQ(p.written, edited);
  EXPECT_EQ(DecideStep(p, edited, p.firstDay + 5).kind, StepDecision::Kind::Nothing);
  EXPECT_EQ(StepRows(p, 5)[1].Color16[0], 1500);
}

TEST(Acclimation, ChannelSets) {
  struct Case {
    const char* text;
    std::optional<uint16_t> set;
    const char* back;
  } cases[] = {
      {"A-F", 0x3F, "A-F"},   {"a-f", 0x3F, "A-F"},     {"all", 0xFFF, "A-L"},
      {"A,C,E-G", 0x75, "A,C,E-G"}, {"L", 0x800, "L"}, {"ABD", 0xB, "A-B,D"},
      {"", std::nullopt, ""}, {"M", std::nullopt, ""}, {"F-A", std::nullopt, ""},
      {"A-", std::nullopt, ""}, {"A,", std::nullopt, ""}, {"A;B", std::nullopt, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ParseChannelSet(c.text), c.set) << c.text;
    if (c.set) {
      EXPECT_EQ(ChannelSetText(*c.set), c.back) << c.text;
    }
  }
}

TEST(Acclimation, StoredTextGivesThePlanBackAndRefusesBrokenOnes) {
  AcclimationPlan p = Plan(35, 14, 0x0F0);
  p.written = StepRows(p, 2);
  p.writing = StepRows(p, 3);
  p.appliedDay = 2;
  p.saves = 3;
  p.state = AcclimationPlan::State::Paused;
  const std::string text = PlanText(p);
  EXPECT_EQ(ParsePlan(text), p);
  EXPECT_NE(text.find("Start=35"), std::string::npos);
  EXPECT_NE(text.find("Channels=E-H"), std::string::npos);
  EXPECT_NE(text.find("First=2024-10-04"), std::string::npos);
  auto replaced = [&](const std::string& from, const std::string& to) {
    std::string t = text;
    t.replace(t.find(from), from.size(), to);
    return t;
  };
  for (const std::string& broken :
       {replaced("Start=35", "Start=135"), replaced("Days=14", "Days=0"),
        replaced("State=paused", "State=dozing"), replaced("First=2024-10-04", "First=2024-02-30"),
        replaced("TargetRows=3", "TargetRows=4"), replaced("Channels=E-H", "Channels=Q"),
        replaced("AppliedDay=2", "AppliedDay=15"), std::string("[Plan]\r\nStart=50\r\n"),
        std::string("")})
    EXPECT_FALSE(ParsePlan(broken)) << broken.substr(0, 80);
}

}  // namespace
}  // namespace vmx
