// The settings pages in the real window against the simulated board: what a
// user types reaches the wire as one Set with the expected bytes.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QTabWidget>

#include "app/status_bar.h"
#include "link/hex.h"
#include "link/records.h"
#include "tests/app/window_fixture.h"

namespace vmx::testing {
namespace {

class SettingsWireTest : public WindowTest {
 protected:
  void OpenShown() {
    Open({pty, "-english"});
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    ASSERT_TRUE(WaitFullRead(pty));
  }
  std::vector<std::string> LinesStarting(const std::string& prefix) {
    std::vector<std::string> found;
    for (const std::string& line : board.Lines())
      if (line.starts_with(prefix)) found.push_back(line);
    return found;
  }
};

TEST_F(SettingsWireTest, TypedFanLevelSendsOneSetConfig) {
  board.With([](sim::BoardState& s) {
    s.config.Mode = 1;
    s.config.FanLow = 60;
    s.config.FanHigh = 200;
  });
  OpenShown();
  const Config before = board.With([](sim::BoardState& s) { return s.config; });
  auto* tabs = window->findChild<QTabWidget*>("pc");
  tabs->setCurrentWidget(window->PageNamed("tsConfig"));
  auto* edit = window->findChild<QLineEdit*>("edtFanLow");
  ASSERT_TRUE(QTest::qWaitFor([&] { return edit->text() == "23.5"; }, 3000))
      << edit->text().toStdString();
  board.ClearLines();

  edit->setFocus();
  edit->selectAll();
  QTest::keyClicks(edit, "8");  // 8 % of 255 is 20.4
  EXPECT_EQ("8", edit->text().toStdString());
  // The UI thread keeps running while we wait: the worker's hand-offs need it.
  ASSERT_TRUE(QTest::qWaitFor([&] { return !LinesStarting("02").empty(); }, 3000));
  QTest::qWait(300);

  // Byte 2 of the Config record is FanLow: 0x14; everything else as the board had it.
  std::string expected = "02" + ToHex(Encode(before));
  expected.replace(2 + 2 * 2, 2, "14");
  EXPECT_EQ(std::vector<std::string>{expected}, LinesStarting("02"));
  EXPECT_EQ(20, board.With([](sim::BoardState& s) { return s.config.FanLow; }));
  EXPECT_EQ(20, window->findChild<QSlider*>("trbFanLow")->value());
}

TEST_F(SettingsWireTest, BoardStateShowsInCaptionLabelAndStatusBar) {
  board.With([](sim::BoardState& s) {
    s.info.ErrorFlags = 0x01;
    s.info.TempBoard = 315;
    s.info.InputVoltage = 24010;
    s.config.Mode = 2;
  });
  OpenShown();
  auto* label = window->findChild<QLabel*>("lblBoard");
  ASSERT_TRUE(QTest::qWaitFor([&] { return !label->text().isEmpty(); }, 3000));
  // The simulated board's temperatures and voltage drift a little.
  const QString status = label->text();
  EXPECT_TRUE(status.startsWith(QString::fromStdString(pty) +
                                " \u2022 Overtemperature \u2022 Board temperature: 3"))
      << status.toStdString();
  EXPECT_TRUE(status.endsWith(" Volt")) << status.toStdString();
  EXPECT_TRUE(window->windowTitle().endsWith(status));
  EXPECT_TRUE(QTest::qWaitFor([&] { return window->Bar().PanelText(2) == "Geo"; }, 3000))
      << window->Bar().PanelText(2).toStdString();
  EXPECT_FALSE(window->findChild<QSlider*>("trb0")->isEnabled()) << "sliders only in Manual";
  EXPECT_TRUE(window->findChild<QWidget*>("cmbName0")->isEnabled());
}

}  // namespace
}  // namespace vmx::testing
