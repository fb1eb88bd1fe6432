// The Geo page in the real window, its changes checked on the wire by the
// simulated board.
#include <gmock/gmock.h>

#include <QApplication>
#include <QDate>
#include <QDateEdit>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <algorithm>

#include "tests/app/window_fixture.h"

namespace vmx::testing {
namespace {

std::vector<std::string> LinesStartingWith(const std::vector<std::string>& lines,
                                           const std::string& command) {
  std::vector<std::string> found;
  for (const std::string& line : lines)
    if (line.starts_with(command)) found.push_back(line);
  return found;
}

// Byte `offset` of a record as its two hex digits after the command.
std::string Byte(const std::string& line, size_t offset, size_t count = 1) {
  return line.substr(2 + 2 * offset, 2 * count);
}

std::string TwoDigits(int v) {
  return QString("%1").arg(v, 2, 16, QChar('0')).toUpper().toStdString();
}

class GeoWindowTest : public WindowTest {
 protected:
  // Connected, the first full read shown and the Geo page in front.
  void OpenOnGeoPage() {
    prefs.WritePort(pty);
    Open({"-english"});
    window->show();
    ASSERT_TRUE(WaitFullRead(pty));
    window->ShowPage(window->PageNamed("tsGeo"));
  }
  // Waits until `command` has gone out and the worker has read the board back
  // twice since, so a second copy would have had its chance. The window keeps
  // running meanwhile: the worker hands every record to it.
  std::vector<std::string> SentAfterwards(const std::string& command) {
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
          const std::vector<std::string> lines = board.Lines();
          const auto sent = std::find_if(lines.begin(), lines.end(), [&](const std::string& l) {
            return l.starts_with(command);
          });
          return sent != lines.end() && std::count(sent, lines.end(), std::string("82")) >= 2;
        },
        5000))
        << command;
    return LinesStartingWith(board.Lines(), command);
  }
  Config BoardConfig() {
    return board.With([](sim::BoardState& s) { return s.config; });
  }
};

TEST_F(GeoWindowTest, StartUpTakesTheBoardClockFromTheComputer) {
  const QDate before = QDate::currentDate();
  Open({"-english"});
  const QDate after = QDate::currentDate();
  const Info& info = window->Store().info;
  const QDate set(2000 + info.Year, info.Month, info.Day);
  EXPECT_TRUE(set == before || set == after) << set.toString(Qt::ISODate).toStdString();
  EXPECT_EQ(window->findChild<QDateEdit*>("dtp")->date(), set);
  EXPECT_EQ(window->findChild<QLineEdit*>("edtTime")->text(),
            QString("%1:%2").arg(info.Hour, 2, 10, QChar('0')).arg(info.Minute, 2, 10, QChar('0')));
  EXPECT_EQ(window->Store().config.TimeLapse, 1);
  EXPECT_EQ(window->findChild<QLineEdit*>("edtLat")->text(), "50.1") << "the default place";
  EXPECT_EQ(window->findChild<QLineEdit*>("edtLon")->text(), "8.5");
}

TEST_F(GeoWindowTest, MapClickSendsOneSetConfigWithOnlyTheLocationChanged) {
  OpenOnGeoPage();
  const Config before = BoardConfig();
  ASSERT_EQ(before.Lat, 525);
  board.ClearLines();
  // The top left corner: QTest would take a null point for the widget's centre.
  auto* map = window->findChild<QWidget*>("imgGeo");
  QMouseEvent press(QEvent::MouseButtonPress, QPointF(0, 0), map->mapToGlobal(QPointF(0, 0)),
                    Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(map, &press);
  const std::vector<std::string> sent = SentAfterwards("02");
  ASSERT_EQ(sent.size(), 1u);
  // Lat 900 = 0x0384 and Lon -1800 = 0xF8F8, little-endian at bytes 27 and 29.
  EXPECT_EQ(Byte(sent[0], 27, 4), "8403F8F8");
  Config expected = before;
  expected.Lat = 900;
  expected.Lon = -1800;
  EXPECT_EQ(BoardConfig(), expected) << "everything else as the board had it";
}

TEST_F(GeoWindowTest, NowSetsTheBoardsClockAndEndsTimeLapse) {
  board.With([](sim::BoardState& s) {
    s.config.TimeLapse = 20;
    s.info.Reserved12[0] = 0x5A;
  });
  OpenOnGeoPage();
  ASSERT_EQ(window->Store().config.TimeLapse, 20);
  board.ClearLines();
  const QDate before = QDate::currentDate();
  QTest::mouseClick(window->findChild<QPushButton*>("btnNow"), Qt::LeftButton);
  const QDate after = QDate::currentDate();

  const std::vector<std::string> clock = SentAfterwards("01");
  ASSERT_EQ(clock.size(), 1u);
  const auto dayMonthYear = [](QDate d) {
    return TwoDigits(d.day()) + TwoDigits(d.month()) + TwoDigits(d.year() - 2000);
  };
  EXPECT_THAT(Byte(clock[0], 9, 3), ::testing::AnyOf(dayMonthYear(before), dayMonthYear(after)));
  EXPECT_EQ(Byte(clock[0], 12), "00") << "the byte after the year is cleared";
  EXPECT_LE(std::stoi(Byte(clock[0], 5), nullptr, 16), 99) << "hundredths";
  EXPECT_EQ(Byte(clock[0], 17, 24), std::string(48, 'F')) << "the channels stay as they are";

  const std::vector<std::string> config = SentAfterwards("02");
  ASSERT_EQ(config.size(), 1u);
  EXPECT_EQ(Byte(config[0], 6), "01") << "real time again";
}

}  // namespace
}  // namespace vmx::testing
