#include "ui/window/port_list.h"

#include <cstdlib>

#include "platform/serial_ports.h"

namespace vantor::ui {
namespace {

// COM1 .. COM40 have fixed items of their own.
bool HasFixedItem(const std::string& portName) {
  if (portName.size() < 4 || portName.size() > 5 || portName.rfind("COM", 0) != 0) return false;
  const int number = std::atoi(portName.c_str() + 3);
  return number >= 1 && number <= 40;
}

}  // namespace

std::vector<PortEntry> SerialPortsPresent(const std::string& deviceDir) {
  SerialPortRoots roots;
  roots.devices = deviceDir;
  std::vector<PortEntry> entries;
  for (const SerialPortInfo& port : ListSerialPorts(roots))
    if (!HasFixedItem(port.portName)) entries.push_back({port.MenuText(), port.portName});
  return entries;
}

}  // namespace vantor::ui
