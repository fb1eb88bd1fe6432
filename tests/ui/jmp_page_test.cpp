// The JMP pin page: the user's choice sends the Expert record, a record shown
// from the board selects the same button silently.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

#include "editor/jmp_page.h"
#include "link/request_flags.h"
#include "tests/ui/fake_page_context.h"

namespace vmx::testing {
namespace {

class JmpPageTest : public ::testing::Test {
 protected:
  JmpPageTest() {
    context.Add<JmpPage>();
    context.Show();
  }
  QRadioButton* Radio(const char* name) { return context.Find<QRadioButton>(name); }
  FakePageContext context;
};

TEST_F(JmpPageTest, TheUsersChoiceSendsARecordsChoiceDoesNot) {
  QRadioButton* servo = Radio("rbtJMPServo");
  QTest::mouseClick(servo, Qt::LeftButton, {}, QPoint(6, servo->height() / 2));
  EXPECT_EQ(context.store.expert.JMPMode, 7);
  EXPECT_EQ(context.store.Requests(), request::WriteExpert);

  context.store.SetRequests(0);
  context.store.expert.JMPMode = 2;
  context.ApplyRecord(RecordKind::Expert);
  EXPECT_TRUE(Radio("rbtJMPStorm")->isChecked());
  EXPECT_FALSE(servo->isChecked());
  context.store.expert.JMPMode = 9;  // no button for it: the choice stays
  context.ApplyRecord(RecordKind::Expert);
  EXPECT_TRUE(Radio("rbtJMPStorm")->isChecked());
  EXPECT_EQ(context.store.expert.JMPMode, 9);
  EXPECT_EQ(context.store.Requests(), 0u);

  // Keys choose too: down from the storm button to the cooler.
  Radio("rbtJMPStorm")->setFocus();
  QTest::keyClick(Radio("rbtJMPStorm"), Qt::Key_Down);
  EXPECT_EQ(context.store.expert.JMPMode, 3);
  EXPECT_EQ(context.store.Requests(), request::WriteExpert);
}

TEST_F(JmpPageTest, NineModesInTheirOrderAndTheSwitchingTemperatures) {
  const char* names[] = {"rbtJMPIRLearn", "rbtJMPCloud",  "rbtJMPStorm",
                         "rbtJMPCooler",  "rbtJMPHeater", "rbtJMPLightning",
                         "rbtJMPTimer",   "rbtJMPServo",  "rbtJMPPWM"};
  int previousY = -1;
  for (const char* name : names) {
    QRadioButton* radio = Radio(name);
    ASSERT_NE(radio, nullptr) << name;
    EXPECT_GT(radio->y(), previousY) << name << " stands below the one before";
    previousY = radio->y();
  }
  EXPECT_LT(context.Find<QWidget>("lblJMPWarning2")->y(), Radio("rbtJMPCloud")->y());
  EXPECT_GT(context.Find<QWidget>("lblJMPWarning1")->y(), Radio("rbtJMPIRLearn")->y());

  QLineEdit* coolLow = context.Find<QLineEdit>("edtTempCoolLow");
  coolLow->setFocus();
  coolLow->selectAll();
  QTest::keyClicks(coolLow, "27.5");
  EXPECT_EQ(context.store.expert.TempCoolLow, 275);
  EXPECT_EQ(context.store.Requests(), request::WriteExpert);
}

}  // namespace
}  // namespace vmx::testing
