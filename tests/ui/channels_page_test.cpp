// The channel pages driven as a user drives them: keys, slider drags, clicks.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QSlider>
#include <QTest>

#include "editor/channels_page.h"
#include "link/request_flags.h"
#include "tests/ui/fake_page_context.h"
#include "ui/tint.h"

namespace vmx::testing {
namespace {

class ChannelsPageTest : public ::testing::Test {
 protected:
  ChannelsPageTest() {
    for (const char* name : {"mnuAllOff", "mnuAll20", "mnuAllOn"}) context.AddAction(name);
    context.Add<ChannelsPage>("tsChannels", 0);
    context.Add<ChannelsPage>("tsChannelsGL", 6);
    context.Show();
  }
  ~ChannelsPageTest() override { QLocale::setDefault(QLocale::c()); }

  QSlider* Slider(int n) { return context.Find<QSlider>("trb" + QString::number(n)); }
  QLineEdit* Edit(int n) { return context.Find<QLineEdit>("edt" + QString::number(n)); }
  void Type(QLineEdit* edit, const QString& text) {
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
  }
  uint32_t TakeRequests() { return context.TakeRequests(); }

  FakePageContext context;
};

TEST_F(ChannelsPageTest, DraggedSliderStoresShowsAndAsksForTheWrite) {
  QSlider* slider = Slider(3);
  slider->setSliderDown(true);
  slider->setSliderPosition(2048);
  slider->setSliderDown(false);
  EXPECT_EQ(2048, context.store.info.Channel[3]);
  EXPECT_EQ("50", Edit(3)->text());
  EXPECT_EQ(request::WriteInfoChannels, TakeRequests());

  // Keys move it too: one page step up.
  slider->setFocus();
  QTest::keyClick(slider, Qt::Key_PageUp);
  EXPECT_EQ(2176, context.store.info.Channel[3]);
  EXPECT_EQ("53.13", Edit(3)->text());
  EXPECT_EQ(request::WriteInfoChannels, TakeRequests());
}

TEST_F(ChannelsPageTest, ValuesFromTheBoardSendNothingAndSkipTheFocusedField) {
  context.store.info.Channel[3] = 2048;
  context.store.info.Channel[7] = 1364;
  context.ApplyRecord(RecordKind::Info);
  EXPECT_EQ(2048, Slider(3)->value());
  EXPECT_EQ("50", Edit(3)->text());
  EXPECT_EQ("33.3", Edit(7)->text());
  EXPECT_EQ(0u, TakeRequests());

  Edit(3)->setFocus();
  Type(Edit(3), "12");
  context.store.info.Channel[3] = 4096;
  context.ApplyRecord(RecordKind::Info);
  EXPECT_EQ("12", Edit(3)->text()) << "the user's typing is never overwritten";
  EXPECT_EQ(4096, Slider(3)->value()) << "the slider has no focus and follows the board";
}

TEST_F(ChannelsPageTest, TypedPercentRoundsToTheNearestStep) {
  Type(Edit(0), "12.5");
  EXPECT_EQ(512, context.store.info.Channel[0]);
  EXPECT_EQ(512, Slider(0)->value());
  Type(Edit(0), "33.3");
  EXPECT_EQ(1364, context.store.info.Channel[0]);
  EXPECT_EQ(request::WriteInfoChannels, TakeRequests());

  // Above 100 % the record takes what was typed; only the slider stops at the end.
  Type(Edit(0), "150");
  EXPECT_EQ(6144, context.store.info.Channel[0]);
  EXPECT_EQ(4096, Slider(0)->value());
}

TEST_F(ChannelsPageTest, TextThatIsNoNumberChangesNothing) {
  context.store.info.Channel[1] = 100;
  Edit(1)->setFocus();
  for (const char* text : {"abc", "12,5", "inf", "nan", "1e300", "-", ""}) {
    Edit(1)->setText(text);  // pasted: one change while the field has the focus
    EXPECT_EQ(100, context.store.info.Channel[1]) << text;
  }
  EXPECT_EQ(0u, TakeRequests());
  // Typed key by key, each number on the way counts: "12,5" leaves 12 %.
  Type(Edit(1), "12,5");
  EXPECT_EQ(492, context.store.info.Channel[1]);
}

TEST_F(ChannelsPageTest, GermanUsersTypeTheComma) {
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  Type(Edit(2), "12,5");
  EXPECT_EQ(512, context.store.info.Channel[2]);
  context.store.info.Channel[2] = 1364;
  context.ApplyRecord(RecordKind::Info);
  EXPECT_EQ("33,3", Edit(2)->text());
}

TEST_F(ChannelsPageTest, OnAndOffButtons) {
  context.Click("btnOn9");
  EXPECT_EQ(4096, context.store.info.Channel[9]);
  EXPECT_EQ("100", Edit(9)->text());
  EXPECT_EQ(4096, Slider(9)->value());
  context.Click("btnOff9");
  EXPECT_EQ(0, context.store.info.Channel[9]);
  EXPECT_EQ("0", Edit(9)->text());
  EXPECT_EQ(request::WriteInfoChannels, TakeRequests());
}

TEST_F(ChannelsPageTest, AllChannelsAtOnceAskOnceAndBringTheFirstPageForward) {
  context.active = context.PageNamed("tsChannelsGL");
  context.Find<QAction>("mnuAll20")->trigger();
  for (int n = 0; n < 12; ++n) {
    EXPECT_EQ(819, context.store.info.Channel[static_cast<size_t>(n)]) << n;
    EXPECT_EQ("20", Edit(n)->text()) << n;
  }
  EXPECT_EQ(request::WriteInfoChannels, TakeRequests());
  EXPECT_TRUE(context.shownPages.empty()) << "the G-L page stays when it is active";

  context.active = nullptr;
  context.Find<QAction>("mnuAllOn")->trigger();
  EXPECT_EQ(std::vector<QString>{"tsChannels"}, context.shownPages);
  EXPECT_EQ("100", Edit(11)->text());
}

TEST_F(ChannelsPageTest, ChosenColourIsStoredSentAndSpread) {
  auto* box = context.Find<QComboBox>("cmbName1");
  ASSERT_EQ(16, box->count());
  EXPECT_EQ("Red", box->itemText(2));
  box->setFocus();
  QTest::keyClick(box, Qt::Key_Down);  // Unnamed -> PureWhite
  QTest::keyClick(box, Qt::Key_Down);  // -> Red
  EXPECT_EQ(2, context.store.config.ColorName[1]);
  EXPECT_EQ(request::WriteConfig, TakeRequests());
  EXPECT_EQ(2, context.colorUpdates);
  EXPECT_EQ(QColor(0xFF, 0x80, 0x80), TintOf(Edit(1)));
}

TEST_F(ChannelsPageTest, ColourIndexWithoutANameSelectsNothingAndIsNotSentBack) {
  context.store.config.ColorName[5] = 20;
  context.store.config.ColorName[4] = 4;
  context.UpdateChannelColors();
  EXPECT_EQ(-1, context.Find<QComboBox>("cmbName5")->currentIndex());
  EXPECT_EQ(QColor(Qt::white), TintOf(Edit(5)));
  EXPECT_EQ(4, context.Find<QComboBox>("cmbName4")->currentIndex());
  EXPECT_EQ(20, context.store.config.ColorName[5]);
  EXPECT_EQ(0u, TakeRequests());
}

}  // namespace
}  // namespace vmx::testing
