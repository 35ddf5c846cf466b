// The port lister over a tree laid out as Linux lays out /dev and /sys.
#ifndef _WIN32

#include "platform/serial_ports.h"

#include <gtest/gtest.h>

#include <fstream>

#include "support/temp_dir.h"

namespace vantor {
namespace {

namespace fs = std::filesystem;

class SerialPortsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    roots.devices = root / "dev";
    roots.classTty = root / "sys/class/tty";
    roots.byId = root / "dev/serial/by-id";
    fs::create_directories(roots.byId);
    for (const char* name : {"ttyS0", "ttyS1", "ttyS2", "ttyS10", "ttyUSB10", "ttyUSB2", "ttyACM0", "tty0", "ttyprintk",
                             "ttySx"})
      std::ofstream(roots.devices / name) << "";
    Write("sys/class/tty/ttyS0/type", "4\n");
    Write("sys/class/tty/ttyS1/type", "0\n");  // no UART behind it
    Write("sys/class/tty/ttyS10/type", "4\n");
    // An FTDI adapter: the tty under its interface, the facts two levels up.
    const fs::path usb = root / "sys/devices/pci0/usb1/1-1";
    Write("sys/devices/pci0/usb1/1-1/idVendor", "0403\n");
    Write("sys/devices/pci0/usb1/1-1/idProduct", "6001\n");
    Write("sys/devices/pci0/usb1/1-1/manufacturer", "FTDI\n");
    Write("sys/devices/pci0/usb1/1-1/product", "FT232R USB UART\n");
    Write("sys/devices/pci0/usb1/1-1/serial", "A10K9\n");
    fs::create_directories(usb / "1-1:1.0/ttyUSB2");
    fs::create_directories(root / "sys/bus/usb-serial/drivers/ftdi_sio");
    fs::create_symlink(root / "sys/bus/usb-serial/drivers/ftdi_sio", usb / "1-1:1.0/ttyUSB2/driver");
    fs::create_directories(roots.classTty / "ttyUSB2");
    fs::create_symlink(usb / "1-1:1.0/ttyUSB2", roots.classTty / "ttyUSB2/device");
    fs::create_symlink("../../ttyUSB2", roots.byId / "usb-FTDI_FT232R_USB_UART_A10K9-if00-port0");
  }
  void Write(const std::string& relative, const std::string& text) const {
    fs::create_directories((root / relative).parent_path());
    std::ofstream(root / relative) << text;
  }

  test::TempDir scratch;
  const fs::path root{scratch.Path()};
  SerialPortRoots roots;
};

TEST_F(SerialPortsTest, ListsTheSerialDevicesInOrderWithWhatTheSystemTells) {
  const auto ports = ListSerialPorts(roots);
  std::vector<std::string> names;
  for (const SerialPortInfo& port : ports) names.push_back(port.portName);
  const std::string dev = roots.devices.string();
  ASSERT_EQ(names, (std::vector<std::string>{"COM1", "COM3", "COM11", dev + "/ttyUSB2", dev + "/ttyUSB10",
                                             dev + "/ttyACM0"}))
      << "ttyS1 has no UART; tty0, ttyprintk and ttySx are no serial ports";
  const SerialPortInfo& ftdi = ports[3];
  EXPECT_EQ(ftdi.Description(), "USB 0403:6001 FTDI FT232R USB UART, serial A10K9 (ftdi_sio)");
  EXPECT_EQ(ftdi.MenuText(), dev + "/ttyUSB2 - FT232R USB UART");
  EXPECT_EQ(ftdi.aliases, (std::vector<std::string>{(roots.byId / "usb-FTDI_FT232R_USB_UART_A10K9-if00-port0").string()}));
  EXPECT_EQ(ports[0].Description(), "16550A UART");
  EXPECT_EQ(ports[4].MenuText(), dev + "/ttyUSB10");
}

TEST_F(SerialPortsTest, AMachineWithoutTheseFoldersHasNoPorts) {
  EXPECT_TRUE(ListSerialPorts({root / "none", root / "none", root / "none"}).empty());
}

}  // namespace
}  // namespace vantor

#endif  // _WIN32
