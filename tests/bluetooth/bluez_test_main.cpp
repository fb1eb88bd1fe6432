// D-Bus tests need an application object; the machine's own buses are out of reach.
#include <gtest/gtest.h>

#include <QCoreApplication>

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/velmarinex-test");
  qputenv("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=/nonexistent/velmarinex-test");
  QCoreApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
