#pragma once
// The serial ports of this machine and what the system tells of each: on
// Linux the ttyS, ttyUSB and ttyACM devices with their driver, their USB
// vendor and product, and the /dev/serial/by-id names that lead to them; on
// Windows the COM ports. For `vantor ports` and the CommPort menus.

#include <filesystem>
#include <string>
#include <vector>

namespace vantor {

struct SerialPortInfo {
  std::string portName;    // what [PORT] takes: "COM1" for /dev/ttyS0, else the device path
  std::string devicePath;  // "/dev/ttyUSB0", "\\.\COM3"
  std::vector<std::string> aliases;  // by-id names leading to the device
  std::string driver;                // "ftdi_sio", "cdc_acm", "serial8250"
  std::string uart;                  // "16550A" for a ttyS port with a known UART
  std::string usbVendorId, usbProductId;  // "0403", "6001"; empty when not USB
  std::string manufacturer, product, serialNumber;

  // What is known: "USB 0403:6001 FTDI FT232R USB UART, serial A1B2 (ftdi_sio)",
  // "16550A UART"; empty when nothing is.
  std::string Description() const;
  // A menu item: the port name and, where known, the product ("/dev/ttyUSB0 - FT232R USB UART").
  std::string MenuText() const;
};

// Where the system tells about its ports (a test points these at a tree of its own).
struct SerialPortRoots {
  std::filesystem::path devices = "/dev";
  std::filesystem::path classTty = "/sys/class/tty";
  std::filesystem::path byId = "/dev/serial/by-id";
};

// ttyS ports (those the kernel found a UART behind), then ttyUSB, then
// ttyACM, each in number order; on Windows COM1 upwards.
std::vector<SerialPortInfo> ListSerialPorts(const SerialPortRoots& roots = {});

}  // namespace vantor
