// Port names on Windows: every way a keeper writes a COM port names one port,
// one board id and one backup file.
#include <gtest/gtest.h>

#include "link/port_name.h"
#include "persist/auto_backup.h"

namespace vmx {
namespace {

TEST(WindowsPortName, EveryFormOfAComPortIsOnePort) {
  struct Case {
    const char* given;
    const char* port;  // what the worker opens and the window shows
    const char* id;
    const char* backup;
  } const cases[] = {
      {"COM7", "COM7", "vmx5_COM7", "Backup_COM7.ini"},
      {"com7", "COM7", "vmx5_COM7", "Backup_COM7.ini"},
      {"\\\\.\\COM7", "COM7", "vmx5_COM7", "Backup_COM7.ini"},
      {"\\\\.\\COM12", "COM12", "vmx5_COM12", "Backup_COM12.ini"},
      {"\\\\.\\cOm12", "COM12", "vmx5_COM12", "Backup_COM12.ini"},
      {"COM256", "COM256", "vmx5_COM256", "Backup_COM256.ini"},
      // Not COM ports: kept as given.
      {"COM0", "COM0", "vmx5_COM0", "Backup_COM0.ini"},
      {"COM07", "COM07", "vmx5_COM07", "Backup_COM07.ini"},
      {"COM1234", "COM1234", "vmx5_COM1234", "Backup_COM1234.ini"},
      {"COMX", "COMX", "vmx5_COMX", "Backup_COMX.ini"},
      {"\\\\.\\CNCA0", "\\\\.\\CNCA0", "vmx5_CNCA0", "Backup_CNCA0.ini"},
      {"Board 1", "Board 1", "vmx5_Board_1", "Backup_Board.ini"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.given);
    EXPECT_EQ(PortFromArgument(c.given), c.port);
    EXPECT_EQ(BoardIdOfPort(c.given), c.id);
    EXPECT_EQ(BackupFileName(PortFromArgument(c.given)), c.backup);
  }
}

TEST(WindowsPortName, APortListEntryGivesItsPort) {
  EXPECT_EQ(PortOfText("COM7 (\\Device\\BthModem0)"), "COM7");
  EXPECT_EQ(PortOfText("COM12 (\\Device\\VCP0)"), "COM12");
  EXPECT_EQ(PortOfText("COM3"), "COM3");
}

}  // namespace
}  // namespace vmx
