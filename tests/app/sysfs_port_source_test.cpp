// The serial-device listing over a sysfs-like tree built by the test.
#include "app/sysfs_port_source.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <thread>

#include "tests/support/temp_folder.h"

namespace vmx {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::Field;

void Write(const fs::path& file, const std::string& text) {
  fs::create_directories(file.parent_path());
  std::ofstream(file) << text;
}

class SysfsTree : public ::testing::Test {
 protected:
  SysfsTree() {
    fs::create_directories(root / "class/tty");
    fs::create_directories(root / "dev");
  }

  // A tty class entry whose device link points at `device` (relative to root).
  void Tty(const std::string& name, const std::string& device) {
    const fs::path entry = root / "class/tty" / name;
    fs::create_directories(entry);
    if (!device.empty()) {
      fs::create_directories(root / device);
      fs::create_directory_symlink(root / device, entry / "device");
    }
  }
  // Device nodes are told apart by creation time, which the kernel keeps in
  // coarse steps.
  void Node(const std::string& name) {
    std::this_thread::sleep_for(std::chrono::milliseconds(15));
    Write(root / "dev" / name, "");
  }
  std::vector<SerialDevice> List() {
    return SysfsPortSource(root / "class/tty", root / "dev").Devices();
  }

  vmx::testing::TempFolder tree{"vmx-sysfs"};
  fs::path root = tree.path();
};

TEST_F(SysfsTree, OnlyTtysWithADeviceBehindThemInCreationOrder) {
  Tty("ttyUSB0", "devices/usb1/1-1/1-1:1.0/ttyUSB0");
  Write(root / "devices/usb1/1-1/idVendor", "0403\n");
  Write(root / "devices/usb1/1-1/idProduct", "6001\n");
  Write(root / "devices/usb1/1-1/manufacturer", "FTDI\n");
  Write(root / "devices/usb1/1-1/product", "FT232R USB UART\n");
  Tty("ttyS0", "devices/platform/serial8250/tty/ttyS0");
  Write(root / "class/tty/ttyS0/type", "4\n");
  fs::create_directories(root / "drivers/serial8250");
  fs::create_directory_symlink(root / "drivers/serial8250",
                               root / "devices/platform/serial8250/tty/ttyS0/driver");
  Tty("ttyS1", "devices/platform/serial8250/tty/ttyS1");
  Write(root / "class/tty/ttyS1/type", "0\n");  // reserved, no UART
  Tty("tty1", "");                              // a virtual terminal
  Tty("ttyACM0", "devices/usb1/1-2/1-2:1.0");
  Write(root / "devices/usb1/1-2/idVendor", "2341\n");
  Write(root / "devices/usb1/1-2/idProduct", "0043\n");

  Node("ttyS1");
  Node("tty1");
  Node("ttyUSB0");
  Node("ttyS0");
  Node("ttyACM0");

  EXPECT_THAT(List(), ElementsAre(Field(&SerialDevice::path, (root / "dev/ttyUSB0").string()),
                                  Field(&SerialDevice::path, (root / "dev/ttyS0").string()),
                                  Field(&SerialDevice::path, (root / "dev/ttyACM0").string())));
  const std::vector<SerialDevice> devices = List();
  EXPECT_EQ(devices[0].description, "FTDI FT232R USB UART");
  EXPECT_EQ(devices[1].description, "serial8250");
  EXPECT_EQ(devices[2].description, "2341:0043") << "no names: the USB ids";
}

TEST_F(SysfsTree, RfcommBindingsAreListedWithTheirAddress) {
  Tty("rfcomm0", "");
  Write(root / "class/tty/rfcomm0/address", "00:11:22:AA:BB:CC\n");
  Node("rfcomm0");
  Node("rfcomm1");  // bound, but not (yet) in the class directory
  const std::vector<SerialDevice> devices = List();
  ASSERT_EQ(devices.size(), 2u);
  EXPECT_EQ(devices[0].path, (root / "dev/rfcomm0").string());
  EXPECT_EQ(devices[0].description, "rfcomm 00:11:22:AA:BB:CC");
  EXPECT_EQ(devices[1].description, "rfcomm");
}

TEST_F(SysfsTree, EntriesWithoutANodeAndStrangeTextAreHandled) {
  Tty("ttyUSB3", "devices/usb2/2-1/2-1:1.0/ttyUSB3");  // no node under dev
  Tty("ttyUSB4", "devices/usb2/2-2/2-2:1.0/ttyUSB4");
  Write(root / "devices/usb2/2-2/idVendor", "1a86\n");
  Write(root / "devices/usb2/2-2/product", "Serial\tAdapter\x01 (\"x\")\n");
  Node("ttyUSB4");
  const std::vector<SerialDevice> devices = List();
  ASSERT_EQ(devices.size(), 1u);
  EXPECT_EQ(devices[0].description, "Serial Adapter  (\"x\")");
}

TEST_F(SysfsTree, AMissingClassDirectoryIsAnError) {
  fs::remove_all(root / "class/tty");
  EXPECT_THROW(List(), std::exception);
}

}  // namespace
}  // namespace vmx
