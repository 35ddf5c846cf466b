// The COM ports of a Windows machine, as the system's device names tell them.
#ifdef _WIN32

#include <windows.h>

#include "platform/serial_device.h"
#include "platform/serial_ports.h"

namespace vantor {

// Only the names the programs can open are listed: a port offered must open.
std::vector<SerialPortInfo> ListSerialPorts(const SerialPortRoots&) {
  std::vector<SerialPortInfo> ports;
  char target[512];
  for (int number = 1;; ++number) {
    const std::string name = "COM" + std::to_string(number);
    const std::string path = DevicePathForPort(name);
    if (path.empty()) break;
    if (QueryDosDeviceA(name.c_str(), target, sizeof target) == 0) continue;
    SerialPortInfo port;
    port.portName = name;
    port.devicePath = path;
    port.driver = target;  // "\Device\Serial0", "\Device\VCP0", "\Device\USBSER000"
    ports.push_back(std::move(port));
  }
  return ports;
}

}  // namespace vantor

#endif  // _WIN32
