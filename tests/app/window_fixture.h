// A main window driven by a test: the simulated board on a real pty, the
// real link worker with short waits, preferences and port list the test owns.
#pragma once

#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QStringList>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "app/frm_lantix.h"
#include "persist/memory_preferences.h"
#include "tests/app/fake_port_source.h"
#include "tests/support/link_on_pty.h"

namespace vmx::testing {

inline LinkTiming FastTiming() {
  LinkTiming t = FastLinkTiming();
  t.waitSteps = 4;
  t.openAttempts = 2;
  return t;
}

// The log's lines without their stamps (the welcome text has none).
inline QStringList LogLines(const TfrmLantix& window) {
  QStringList lines;
  for (QString line : window.findChild<QPlainTextEdit*>("mem")->toPlainText().split('\n')) {
    if (line.startsWith('[') && line.contains("] ")) line = line.mid(line.indexOf("] ") + 2);
    lines.append(line);
  }
  return lines;
}

// Waits until the window has built all its pages (right after its first
// frame, or at the first pass of the event loop when it is not shown): only
// then does every control exist, by its name.
inline bool WaitForPages(const TfrmLantix& window) {
  return QTest::qWaitFor([&] { return window.PagesBuilt(); }, 5000);
}

class WindowTest : public ::testing::Test, protected BoardOnPty {
 protected:
  explicit WindowTest(sim::BoardOptions options = {.rows = 4}, PtyOptions line = {})
      : BoardOnPty(options, std::move(line)) {}
  ~WindowTest() override { window.reset(); }

  StartOptions Options(std::vector<std::string> args) {
    StartOptions o;
    o.arguments = std::move(args);
    o.preferences = &prefs;
    o.ports = &ports;
    o.timing = FastTiming();
    o.deviceDirectory = devices.path();
    // Backups and other files the program keeps beside itself go here, not
    // into the build's program folder.
    o.appDir = programFolder.path();
    o.logToStderr = false;
    return o;
  }
  void Open(std::vector<std::string> args = {"-english"}) {
    window = std::make_unique<TfrmLantix>(Options(std::move(args)));
    EXPECT_TRUE(WaitForPages(*window));
  }

  QStringList Log() const { return LogLines(*window); }
  bool WaitForLog(const QString& line, int ms = 5000) {
    return QTest::qWaitFor([&] { return Log().contains(line); }, ms);
  }
  bool WaitConnected(const std::string& port, int ms = 5000) {
    return WaitForLog(QString::fromStdString("Connected to Velmarinex 2.x.4 on " + port), ms);
  }
  // Connected and the first full read shown: the port has been remembered.
  bool WaitFullRead(const std::string& port, int ms = 5000) {
    return WaitForLog(QString::fromStdString("Written to registry: " + port), ms);
  }
  QString CurrentPage() const {
    return window->findChild<QTabWidget*>("pc")->currentWidget()->objectName();
  }
  QAction* Action(const char* name) const { return window->findChild<QAction*>(name); }

  std::string& pty = port;
  MemoryPreferences prefs;
  FakePortSource ports;
  QTemporaryDir devices;
  QTemporaryDir programFolder;
  std::unique_ptr<TfrmLantix> window;
};

}  // namespace vmx::testing
