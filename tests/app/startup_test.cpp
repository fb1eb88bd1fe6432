// Start-up: the log, the command line and the window's frame.
#include <fcntl.h>
#include <gmock/gmock.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QMenu>
#include <QStatusBar>
#include <QTest>

#include "app/first_frame_probe.h"
#include "app/link_session.h"
#include "tests/app/window_fixture.h"

namespace vmx::testing {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::Not;

std::vector<std::string> Strings(const QStringList& lines) {
  std::vector<std::string> out;
  for (const QString& l : lines) out.push_back(l.toStdString());
  return out;
}

bool TabVisible(const TfrmLantix& w, const char* page) {
  auto* pc = w.findChild<QTabWidget*>("pc");
  return pc->isTabVisible(pc->indexOf(w.findChild<QWidget*>(page)));
}

QString TabText(const TfrmLantix& w, const char* page) {
  auto* pc = w.findChild<QTabWidget*>("pc");
  return pc->tabText(pc->indexOf(w.findChild<QWidget*>(page)));
}

QStringList ItemNames(const TfrmLantix& w, const char* menu) {
  QStringList names;
  for (QAction* a : w.findChild<QMenu*>(menu)->actions())
    names << (a->menu() ? a->menu()->objectName() : a->objectName());
  return names;
}

class StartupTest : public WindowTest {};

TEST_F(StartupTest, LogStartsWithTheWelcomeTextThenTheStartLinesInOrder) {
  prefs.WritePort(pty);
  Open({"-english"});
  const QStringList log = Log();
  ASSERT_GE(log.size(), 14);
  EXPECT_EQ(log[0],
            "IMPORTANT: BEFORE POWERON PLEASE MAKE SURE ALL OUTPUTS ARE WIRED SEPARATELY AND");
  EXPECT_EQ(log[3], "The controls will be activated once a connection has been established.");
  EXPECT_EQ(log[9], "");
  EXPECT_EQ(Strings(log.mid(10, 3)),
            (std::vector<std::string>{"Read from registry: " + pty, "Parameter: -english",
                                      "started Velmarinex 2.x.4a"}));
  EXPECT_TRUE(log[13].startsWith(QCoreApplication::applicationFilePath() + ' '))
      << log[13].toStdString();
  EXPECT_TRUE(log[13].endsWith(" bytes"));
  EXPECT_TRUE(WaitConnected(pty)) << "the remembered port is connected at once";
}

TEST_F(StartupTest, NothingRememberedNoPortMessagesPageAndNoConnection) {
  Open({});
  EXPECT_THAT(Strings(Log()), Not(Contains(::testing::StartsWith("Read from registry"))));
  EXPECT_EQ(Log()[10], "started Velmarinex 2.x.4a");
  EXPECT_EQ(CurrentPage(), "tsMessages");
  EXPECT_EQ(window->Link().Worker(), nullptr);
  EXPECT_FALSE(Action("mnuModeManual")->isEnabled());
  EXPECT_EQ(window->windowTitle(), QString::fromUtf8("Velmarinex \u2022 Velmarinex 2.x.4a"));
  emit window->findChild<QMenu*>("mnuFile")->aboutToShow();
  EXPECT_FALSE(Action("mnuFirmwareUpdate")->isEnabled());
  EXPECT_TRUE(window->AppDir().endsWith('/'));
  EXPECT_EQ(QDir::currentPath() + '/', window->AppDir());
}

TEST_F(StartupTest, DevicePathArgumentWithDebugConnectsAtOnceWithTheTrace) {
  Open({pty, "-debug"});
  EXPECT_EQ(Log()[10], QString::fromStdString("Parameter: " + pty));
  EXPECT_EQ(Log()[11], "Parameter: -debug");
  ASSERT_TRUE(WaitConnected(pty));
  EXPECT_TRUE(Log().contains("GetDevice"));
  EXPECT_TRUE(WaitForLog("GetInfo"));
}

TEST_F(StartupTest, LastLanguageWordWins) {
  Open({"/GERMAN", "/english"});
  EXPECT_EQ(window->findChild<QMenu*>("mnuConnection")->title(), "&Connection");
  EXPECT_EQ(TabText(*window, "tsChannels"), "Channels A-F");
  EXPECT_EQ(TabText(*window, "tsChannelsGL"), "Channels G-L");
  EXPECT_FALSE(TabVisible(*window, "tsExpert"));
}

TEST_F(StartupTest, GermanAndExpertWordsInAnyCase) {
  Open({"/german", "-Expert"});
  EXPECT_EQ(window->findChild<QMenu*>("mnuConnection")->title(), "Verbindung");
  EXPECT_EQ(TabText(*window, "tsChannelsGL"), QString::fromUtf8("Kanäle G-L"));
  EXPECT_TRUE(Log().contains("gestartet Velmarinex 2.x.4a"));
  for (const char* page : {"tsExpert", "tsBalance", "tsJMP"})
    EXPECT_TRUE(TabVisible(*window, page));
}

TEST_F(StartupTest, OneCharacterArgumentIsAPort) {
  Open({"x"});
  EXPECT_EQ(window->Link().portName, "/dev/x");
  EXPECT_TRUE(WaitForLog("Connecting to /dev/x..."));
  EXPECT_TRUE(WaitForLog("Disconnected from /dev/x"));
}

TEST_F(StartupTest, FrameHasItsPagesMenusAndPanels) {
  Open({});
  auto* pc = window->findChild<QTabWidget*>("pc");
  QStringList pages;
  for (int i = 0; i < pc->count(); ++i) pages << pc->widget(i)->objectName();
  EXPECT_EQ(pages.join(' '),
            "tsChannels tsChannelsGL tsSchedule tsVisualize tsGeo tsConfig tsTemp tsWeather "
            "tsWeatherDelay tsMoon tsExpert tsBalance tsJMP tsMessages");

  // Separators show as empty names between the items.
  const QStringList options = ItemNames(*window, "mnuOptions");
  EXPECT_EQ(options.join(' '),
            "mnuModeManual mnuModeAuto mnuModeGeo mnuModeRGBDemo mnuModeFlash  mnuAllOff mnuAll20 "
            "mnuAllOn mnuSetTimeDate  mnuStepBig  mnuShowExpert  mnuRefresh mnuSaveEEPROM "
            "mnuIRLearn mnuLoadReef");
  EXPECT_EQ(ItemNames(*window, "mnuFile").join(' '),
            "mnuScheduleImport mnuConfigImport  mnuScheduleConfigExport  mnuCompare "
            "mnuUndoImport  mnuFirmwareUpdate  mnuExit");

  // Hidden items answer their shortcuts through the window.
  for (const char* hidden : {"mnuHealth", "mnuDebug"}) {
    EXPECT_TRUE(window->actions().contains(Action(hidden))) << hidden;
    EXPECT_THAT(Strings(options), Not(Contains(hidden)));
  }
  EXPECT_EQ(Action("mnuHealth")->shortcut(), QKeySequence("Ctrl+Shift+Alt+X"));
  EXPECT_EQ(Action("mnuDebug")->shortcut(), QKeySequence("Ctrl+Alt+D"));
  EXPECT_EQ(Action("mnuAll20")->shortcut(), QKeySequence("Ctrl+2"));
  EXPECT_EQ(Action("mnuFAQ")->text(), "FAQ / error tracking");
  EXPECT_EQ(Action("mnuLoadReef")->text(), "Load reef bundle defaults");

  EXPECT_NE(window->findChild<QMenu*>("pumCol"), nullptr);
  EXPECT_NE(window->findChild<QMenu*>("pumChart"), nullptr);
  EXPECT_NE(window->findChild<QStatusBar*>("sb"), nullptr);
  EXPECT_TRUE(window->findChild<QPlainTextEdit*>("mem")->isReadOnly());
}

TEST_F(StartupTest, ExpertWeatherReadFromElsewhereKeepsTheUsersPage) {
  Open({});
  window->ShowPage(window->PageNamed("tsConfig"));
  window->Link().portName = "/dev/ttyUSB0 (FTDI)";
  window->ApplyExpertWeather();
  EXPECT_EQ(CurrentPage(), "tsConfig");
  EXPECT_EQ(prefs.port, "/dev/ttyUSB0 (FTDI)");
  EXPECT_TRUE(Log().contains("Written to registry: /dev/ttyUSB0 (FTDI)"));
}

// What runs after the first frame must not count as start-up: the line that
// reports the frame goes out before any other first-frame job, whenever it was
// given, and the others keep the order they were given in.
TEST(FirstFrame, ItsReportGoesOutBeforeTheOtherJobs) {
  int pipeEnds[2];
  ASSERT_EQ(::pipe(pipeEnds), 0);
  ::fcntl(pipeEnds[0], F_SETFL, O_NONBLOCK);
  qputenv("VMX_FIRST_FRAME_FD", QByteArray::number(pipeEnds[1]));
  const auto reported = [&] {
    char text[32];
    const ssize_t n = ::read(pipeEnds[0], text, sizeof text);
    return n > 0 ? std::string(text, static_cast<size_t>(n)) : std::string("nothing");
  };
  std::vector<std::string> seen;
  {
    QWidget window;
    AfterFirstFrame(window, [&] { seen.push_back("first job after " + reported()); });
    ReportFirstFrame(window);
    AfterFirstFrame(window, [&] { seen.push_back("second job"); });
    window.show();
    EXPECT_TRUE(QTest::qWaitFor([&] { return seen.size() == 2; }, 5000));
  }
  qunsetenv("VMX_FIRST_FRAME_FD");
  ::close(pipeEnds[0]);
  ::close(pipeEnds[1]);
  EXPECT_THAT(seen, ElementsAre("first job after first frame\n", "second job"));
}

}  // namespace
}  // namespace vmx::testing
