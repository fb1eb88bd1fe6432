// Modes and one-shot actions: what each leaves in the records and the request word.
#include "settings/device_actions.h"

#include <gtest/gtest.h>

#include "link/shared_store.h"

namespace vmx {
namespace {

TEST(Modes, NamesAndMessageKeys) {
  EXPECT_EQ(ModeNamed("manual"), ModeOf(0));
  EXPECT_EQ(ModeNamed("auto"), ModeOf(1));
  EXPECT_EQ(ModeNamed("geo"), ModeOf(2));
  EXPECT_EQ(ModeNamed("rgbdemo"), ModeOf(3));
  EXPECT_EQ(ModeNamed("flash"), ModeOf(4));
  EXPECT_FALSE(ModeNamed("Auto"));
  EXPECT_FALSE(ModeNamed(""));
  EXPECT_EQ(ModeTextKey(ModeOf(3)), "ModeRGBDemo");
  EXPECT_EQ(ModeTextKey(ModeOf(5)), "");
}

TEST(Actions, CurrentTimeAndDateSetsTheClockAndRealTime) {
  SharedStore store;
  store.config.TimeLapse = 20;
  store.info.Reserved12[0] = 7;
  store.info.Channel[0] = 99;
  SetCurrentTimeAndDate(store, LocalDateTime{2031, 12, 24, 23, 59, 58, 995});
  const Info& i = store.info;
  EXPECT_EQ(i.Year, 31);
  EXPECT_EQ(i.Month, 12);
  EXPECT_EQ(i.Day, 24);
  EXPECT_EQ(i.Hour, 23);
  EXPECT_EQ(i.Minute, 59);
  EXPECT_EQ(i.Second, 58);
  EXPECT_EQ(i.Centisecond, 99) << "the board knows no hundredth 100";
  EXPECT_EQ(i.Reserved12[0], 0);
  EXPECT_EQ(i.Channel[0], 99);
  EXPECT_EQ(store.config.TimeLapse, 1);
  EXPECT_EQ(store.Requests(), 0x12u);
}

}  // namespace
}  // namespace vmx
