// Modes and one-shot actions: what each leaves in the records and the request word.
#include "settings/device_actions.h"

#include <gtest/gtest.h>

#include "link/shared_store.h"

namespace vmx {
namespace {

TEST(Modes, NamesAndMessageKeys) {
  EXPECT_EQ(ModeNamed("manual"), 0);
  EXPECT_EQ(ModeNamed("auto"), 1);
  EXPECT_EQ(ModeNamed("geo"), 2);
  EXPECT_EQ(ModeNamed("rgbdemo"), 3);
  EXPECT_EQ(ModeNamed("flash"), 4);
  EXPECT_FALSE(ModeNamed("Auto"));
  EXPECT_FALSE(ModeNamed(""));
  EXPECT_EQ(ModeTextKey(3), "ModeRGBDemo");
  EXPECT_EQ(ModeTextKey(5), "");
}

TEST(Modes, SetModeTellsWhetherTheModeChanged) {
  SharedStore store;
  EXPECT_FALSE(SetMode(store, 0)) << "the store starts in Manual";
  EXPECT_TRUE(SetMode(store, 1));
  EXPECT_EQ(store.config.Mode, 1);
  EXPECT_FALSE(SetMode(store, 1));
  EXPECT_EQ(store.Requests(), 0u) << "SetMode sends nothing by itself";
}

TEST(Modes, DemoModesReplaceTheRequestWordTheOthersAddToIt) {
  struct Case {
    uint8_t mode;
    uint32_t after;
  };
  for (const Case c : {Case{0, 0x50}, Case{1, 0x50}, Case{2, 0x50}, Case{3, 0x10}, Case{4, 0x10}}) {
    SharedStore store;
    store.SetRequests(0x40);  // WriteSchedule pending
    RequestModeWrite(store, c.mode);
    EXPECT_EQ(store.Requests(), c.after) << int(c.mode);
  }
}

TEST(Actions, EachRaisesItsBitsAndNothingElse) {
  struct Case {
    void (*action)(SharedStore&);
    uint32_t bits;
  };
  const Case cases[] = {{Refresh, 0x2A9},           {SaveSettings, 0x8000},
                        {LoadReefDefaults, 0x2000}, {TriggerCloud, 0x10000},
                        {TriggerStorm, 0x20000},    {ReadHealth, 0x1000}};
  for (const Case& c : cases) {
    SharedStore store;
    store.SetRequests(0x4);
    c.action(store);
    EXPECT_EQ(store.Requests(), c.bits | 0x4);
  }
}

TEST(Actions, BigStepFollowsTheRecordNotATick) {
  SharedStore store;
  store.config.Flag = 0x0F;
  EXPECT_FALSE(ToggleBigStep(store));
  EXPECT_EQ(store.config.Flag, 0x0E);
  EXPECT_EQ(store.Requests(), 0x10u);
  EXPECT_TRUE(ToggleBigStep(store));
  EXPECT_EQ(store.config.Flag, 0x0F);
}

TEST(Actions, PairingTwiceRestoresTheCodes) {
  SharedStore store;
  store.expert.Up = 0x1234;
  store.expert.Step = 0x0001;
  store.expert.JMPMode = 6;
  PairIrRemote(store);
  EXPECT_EQ(store.expert.Up, 0x0234);
  EXPECT_EQ(store.expert.Down, 0x1000);
  EXPECT_EQ(store.expert.Step, 0x1001);
  EXPECT_EQ(store.expert.JMPMode, 6);
  EXPECT_EQ(store.Requests(), 0x100u);
  PairIrRemote(store);
  EXPECT_EQ(store.expert.Up, 0x1234);
  EXPECT_EQ(store.expert.Down, 0);
  EXPECT_EQ(store.expert.Step, 0x0001);
}

TEST(Actions, CurrentTimeAndDateSetsTheClockAndRealTime) {
  SharedStore store;
  store.config.TimeLapse = 20;
  store.info.Reserved12[0] = 7;
  store.info.Channel[0] = 99;
  SetCurrentTimeAndDate(store, LocalClock{2031, 12, 24, 23, 59, 58, 995});
  const Info& i = store.info;
  EXPECT_EQ(i.Year, 31);
  EXPECT_EQ(i.Month, 12);
  EXPECT_EQ(i.Day, 24);
  EXPECT_EQ(i.Hour, 23);
  EXPECT_EQ(i.Minute, 59);
  EXPECT_EQ(i.Second, 58);
  EXPECT_EQ(i.Centisecond, 100) << "99.5 rounds to the even 100";
  EXPECT_EQ(i.Reserved12[0], 0);
  EXPECT_EQ(i.Channel[0], 99);
  EXPECT_EQ(store.config.TimeLapse, 1);
  EXPECT_EQ(store.Requests(), 0x12u);
}

}  // namespace
}  // namespace vmx
