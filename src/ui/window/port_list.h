#pragma once
// The serial adapters present on this machine, for the CommPort menu.

#include <string>
#include <vector>

namespace vantor::ui {

struct PortEntry {
  std::string text;      // menu text
  std::string portName;  // what [PORT] stores
};

// The ports besides COM1..COM40 (USB and ACM adapters on Linux), named with
// what the system tells of them ("/dev/ttyUSB0 - FT232R USB UART").
std::vector<PortEntry> SerialPortsPresent(const std::string& deviceDir = "/dev");

}  // namespace vantor::ui
