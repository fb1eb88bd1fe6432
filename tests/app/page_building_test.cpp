// The pages not in front at start-up are built after the window: by the first
// pass of the event loop or the first frame, at once when asked for, and each
// catches up with the language, the records and the enabling of the others.
#include <gmock/gmock.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTabBar>

#include "app/link_state_view.h"
#include "tests/app/window_fixture.h"

namespace vmx::testing {
namespace {

using ::testing::IsEmpty;

class PageBuildingTest : public WindowTest {
 protected:
  void Create(std::vector<std::string> args) {
    window = std::make_unique<TfrmLantix>(Options(std::move(args)));
  }
  QString Caption(const char* name) const {
    QObject* control = window->findChild<QObject*>(name);
    if (auto* button = qobject_cast<QAbstractButton*>(control)) return button->text();
    if (auto* label = qobject_cast<QLabel*>(control)) return label->text();
    if (auto* edit = qobject_cast<QLineEdit*>(control)) {
      for (QLabel* l : window->findChildren<QLabel*>())
        if (l->buddy() == edit) return l->text();
    }
    if (auto* action = qobject_cast<QAction*>(control)) return action->text();
    return "<no control " + QString(name) + ">";
  }
  QString Tab(const char* page) const {
    auto* pc = window->findChild<QTabWidget*>("pc");
    return pc->tabText(pc->indexOf(window->findChild<QWidget*>(page)));
  }
};

TEST_F(PageBuildingTest, OnlyTheLogIsBuiltWithTheWindowAndEveryControlSoonAfter) {
  Create({"-german", "-expert"});
  EXPECT_FALSE(window->PagesBuilt());
  EXPECT_EQ(window->findChild<QSlider*>("trbFanHigh"), nullptr);
  EXPECT_EQ(CurrentPage(), "tsMessages");
  EXPECT_EQ(Tab("tsConfig"), "Konfiguration") << "the tabs are captioned before their pages";
  ASSERT_TRUE(WaitForPages(*window));

  EXPECT_THAT(window->LinkStates().Missing(), IsEmpty());
  EXPECT_EQ(CurrentPage(), "tsMessages");
  // Texts that a page built on its own takes from the table, not from another page.
  const struct {
    const char* control;
    QString caption;
  } texts[] = {
      {"btnRealtime", "Echtzeit"},
      {"lblName7", "Beschriftung Kanal H"},
      {"btnOn7", "EIN"},
      {"mnuCHMTempWater", "Wassertemperatur (PelorixTemp)"},
      {"edtCloudTempBoard", "Platinentemperatur"},
      {"btnApplyTZI", "Von diesem Computer"},
  };
  for (const auto& t : texts) EXPECT_EQ(Caption(t.control), t.caption) << t.control;
  EXPECT_EQ(Tab("tsChannelsGL"), "Kanäle G-L");
  EXPECT_EQ(Tab("tsChannels"), "Kanäle A-F");
  auto* language = window->findChild<QComboBox*>("cmbLanguage");
  ASSERT_EQ(language->count(), 2);
  EXPECT_EQ(language->itemText(0), "Englisch");
  EXPECT_EQ(language->currentIndex(), 1);
  // Not connected: the settings controls are off, as the others.
  EXPECT_FALSE(window->findChild<QSlider*>("trbFanHigh")->isEnabled());
  EXPECT_FALSE(window->findChild<QPushButton*>("btnCloud")->isEnabled());
}

TEST_F(PageBuildingTest, APageAskedForFirstIsBuiltAtOnceWithTheStartUpClock) {
  Create({"-english"});
  ASSERT_FALSE(window->PagesBuilt());
  window->ShowPage(window->PageNamed("tsConfig"));
  EXPECT_EQ(CurrentPage(), "tsConfig");
  EXPECT_EQ(Tab("tsConfig"), "Configuration");
  EXPECT_EQ(Caption("btnRealtime"), "Realtime");
  // Start-up's Now ended time lapse before the page was there.
  EXPECT_EQ(window->findChild<QLineEdit*>("edtTimeLapse")->text(), "1");
  EXPECT_FALSE(window->findChild<QSlider*>("trbTimeLapse")->isEnabled());
  EXPECT_EQ(window->findChild<QLabel*>("lblName3"), nullptr) << "the others wait";

  window->ShowPage(window->PageNamed("tsGeo"));
  const Info& info = window->Store().info;
  EXPECT_EQ(window->findChild<QSlider*>("trbTime")->value(), info.Hour * 60 + info.Minute);
  EXPECT_FALSE(window->findChild<QLineEdit*>("edtTime")->text().isEmpty());
}

TEST_F(PageBuildingTest, ChoosingTheTabOfAPageNotBuiltBuildsItInFront) {
  Create({"-english"});
  ASSERT_FALSE(window->PagesBuilt());
  window->Store().SetRequests(0);
  // The user's choice comes through the tab bar.
  window->findChild<QTabWidget*>("pc")->tabBar()->setCurrentIndex(6);
  EXPECT_EQ(CurrentPage(), "tsTemp");
  EXPECT_EQ(Tab("tsTemp"), "Chart");
  EXPECT_NE(window->findChild<QWidget*>("imgTemp"), nullptr);
  EXPECT_EQ(window->Store().Requests(), 0x800u) << "the chart is read whenever it comes in front";
}

// A page built late is shown the records as the window showed the others:
// what came while the window was hidden (the start-up Config) leaves the
// settings pages as they are, what came while it was visible shows.
TEST_F(PageBuildingTest, APageBuiltLateIsShownTheRecordsAsTheWindowWas) {
  Create({"-english", "-expert"});
  window->Store().config.FanHigh = 128;
  window->Store().expert.PWMPrescaler = 7;
  window->show();
  window->ApplyRecord(RecordKind::Expert);
  ASSERT_FALSE(window->PagesBuilt());
  ASSERT_TRUE(WaitForPages(*window));
  EXPECT_EQ(window->findChild<QLineEdit*>("edtPWMPrescaler")->text(), "7");
  EXPECT_EQ(window->findChild<QLineEdit*>("edtFanHigh")->text(), "")
      << "the Config of start-up came while the window was hidden";
  EXPECT_EQ(window->findChild<QLineEdit*>("edtLat")->text(), "50.1") << "the Geo page shows it";
}

}  // namespace
}  // namespace vmx::testing
