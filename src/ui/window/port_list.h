#pragma once
// The serial adapters present on this machine, for the CommPort menu.

#include <string>
#include <vector>

namespace vantor::ui {

struct PortEntry {
  std::string text;      // menu text
  std::string portName;  // what [PORT] stores
};

// /dev/ttyUSB* then /dev/ttyACM*, each sorted.
std::vector<PortEntry> SerialPortsPresent(const std::string& deviceDir = "/dev");

}  // namespace vantor::ui
