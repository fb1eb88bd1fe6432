// GUI tests run with a real application object on the offscreen platform,
// with the user's settings directory and buses replaced by private ones.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <QDir>
#include <QTemporaryDir>

#include "app/application.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QTemporaryDir home;
  qputenv("XDG_CONFIG_HOME", QDir(home.path()).filePath("config").toLocal8Bit());
  qputenv("XDG_DATA_HOME", QDir(home.path()).filePath("data").toLocal8Bit());
  qputenv("XDG_RUNTIME_DIR", home.path().toLocal8Bit());
  // No test may reach the machine's own buses.
  qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/velmarinex-test");
  qputenv("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=/nonexistent/velmarinex-test");
  vmx::Application app(argc, argv);
  return RUN_ALL_TESTS();
}
