// Edits on the PC that have not reached the board yet: marked rows, pending
// writes and RC-5 codes made stale by an IR pairing.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "link/shared_store.h"

namespace vmx {
namespace {

void SizeTo(SharedStore& s, uint8_t rows) {
  Image<Info> img{};
  img[0] = rows;
  s.AcceptInfo(img);
}

std::array<uint8_t, 32> RowMessage(uint8_t index, uint8_t hour) {
  std::array<uint8_t, 32> m{};
  m[0] = index;
  m[1] = hour;
  return m;
}

TEST(PendingEdits, ARowEditedOnThePcIsNotOverwrittenByTheDownload) {
  SharedStore s;
  SizeTo(s, 4);
  s.schedule[2].Hour = 20;
  s.MarkRows(2, 1, request::WriteSchedule);
  EXPECT_FALSE(s.AcceptRow(RowMessage(2, 7)));
  EXPECT_EQ(s.schedule[2].Hour, 20);
  EXPECT_TRUE(s.AcceptRow(RowMessage(1, 7))) << "unmarked rows still arrive";
  EXPECT_EQ(s.schedule[1].Hour, 7);

  // A mark whose request was dropped by a new identification: the board wins.
  s.SetRequests(0);
  EXPECT_TRUE(s.AcceptRow(RowMessage(2, 9)));
  EXPECT_EQ(s.schedule[2].Hour, 9);
}

TEST(PendingEdits, MarksStayWithinTheTable) {
  SharedStore s;
  SizeTo(s, 3);
  s.MarkRows(1, 10, request::WriteConfig | request::WriteSchedule);
  EXPECT_EQ(s.RowMarks(), (std::vector<bool>{false, true, true}));
  EXPECT_EQ(s.Requests(), 0x50u);

  SharedStore empty;
  empty.MarkRows(0, 5, request::WriteSchedule);
  EXPECT_TRUE(empty.RowMarks().empty());
  EXPECT_EQ(empty.Requests(), 0x40u);
}

TEST(PendingEdits, WritesPendingWhileAWriteBitOrAMarkIsLeft) {
  SharedStore s;
  SizeTo(s, 2);
  EXPECT_FALSE(s.WritesPending());
  for (uint32_t bit : {0x10u, 0x40u, 0x100u, 0x400u}) {
    s.SetRequests(bit);
    EXPECT_TRUE(s.WritesPending()) << bit;
  }
  s.SetRequests(0x1 | 0x2 | 0x4 | 0x8 | 0x20 | 0x8000 | 0x2000);
  EXPECT_FALSE(s.WritesPending()) << "reads, clock and channels do not hold a save back";
  s.SetRequests(0);
  s.MarkRows(1, 1, 0);
  EXPECT_TRUE(s.WritesPending()) << "a marked row whose bit already went";
}

TEST(PendingEdits, AfterAPairingWriteTheBoardsCodesAreReadBeforeTheNext) {
  SharedStore s;
  std::array<uint8_t, 132> payload{};
  s.expert.Up = 0x1111;
  s.expert.Down = 0x1222;
  s.RaiseIrPairing();
  EXPECT_EQ(s.Requests(), 0x100u);
  EXPECT_FALSE(s.Rc5ReadDue()) << "the pairing write itself goes out as it is";
  s.PrepareExpert(payload);
  EXPECT_EQ(payload[41], 0x11);
  s.Raise(request::WriteExpert);
  EXPECT_TRUE(s.Rc5ReadDue());

  // The board learned new codes; the PC changed Down meanwhile.
  s.expert.Down = 0x0777;
  s.expert.JMPMode = 5;
  Expert board;
  board.Up = 0x0ABC;
  board.Down = 0x0DEF;
  board.JMPMode = 1;
  const auto image = Encode(board);
  s.AcceptRc5Codes(image);
  EXPECT_EQ(s.expert.Up, 0x0ABC);
  EXPECT_EQ(s.expert.Down, 0x0777) << "the PC's own change is newer";
  EXPECT_EQ(s.expert.JMPMode, 5) << "only the codes come from the board";
  EXPECT_FALSE(s.Rc5ReadDue());

  // A second pairing (an abort) is a pairing write again: no read before it.
  s.RaiseIrPairing();
  EXPECT_FALSE(s.Rc5ReadDue());
}

TEST(PendingEdits, ANewIdentificationDropsTheEditsAndNamesThem) {
  struct Case {
    uint32_t word;
    std::vector<size_t> marks;
    uint32_t dropped;
    std::vector<int> rows;
    std::string text;
  };
  const Case cases[] = {
      {0x10 | 0x400 | 0x1, {}, 0x410, {}, "Config, Weather"},
      {0x2 | 0x100 | 0x8000, {}, 0x102, {}, "Info, Expert"},
      {0x4, {}, 0x4, {}, "Info"},
      {0x40, {0, 2, 3, 4, 7}, 0x40, {0, 2, 3, 4, 7}, "schedule lines 0, 2-4, 7"},
      {0x10 | 0x40, {5}, 0x50, {5}, "Config, schedule lines 5"},
      // A mark without WriteSchedule was dropped before: it is cleared, not named.
      {0x1 | 0x20, {2}, 0, {}, ""},
      {0x2A9 | 0x20000, {}, 0, {}, ""},
  };
  for (const Case& c : cases) {
    SharedStore s;
    SizeTo(s, 8);
    for (size_t row : c.marks) s.MarkRows(row, 1, 0);
    s.SetRequests(c.word);
    const DroppedWrites dropped = s.ResetRequests(0xAA9);
    EXPECT_EQ(dropped.bits, c.dropped) << c.text;
    EXPECT_EQ(dropped.rows, c.rows) << c.text;
    EXPECT_EQ(dropped.Empty(), c.text.empty()) << c.text;
    EXPECT_EQ(DroppedWritesText(dropped), c.text);
    EXPECT_EQ(s.Requests(), 0xAA9u);
    EXPECT_EQ(s.RowMarks(), std::vector<bool>(8, false)) << c.text;
    EXPECT_FALSE(s.WritesPending()) << "nothing holds a save back";
  }
}

}  // namespace
}  // namespace vmx
