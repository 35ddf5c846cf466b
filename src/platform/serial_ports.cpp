#include "platform/serial_ports.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <iterator>
#include <fstream>
#include <system_error>

namespace vantor {

#ifndef _WIN32
namespace {

namespace fs = std::filesystem;

constexpr int kComPorts = 40;  // COM1..COM40 are /dev/ttyS0..ttyS39

// "ttyUSB12" -> 12 for the prefix "ttyUSB"; -1 for any other name.
int DeviceNumber(const std::string& name, const std::string& prefix) {
  if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) return -1;
  int number = 0;
  for (std::size_t i = prefix.size(); i < name.size(); ++i) {
    if (!std::isdigit(static_cast<unsigned char>(name[i])) || number > 99999) return -1;
    number = number * 10 + (name[i] - '0');
  }
  return number;
}

// The first line of a small file the system keeps; empty when there is none.
std::string FirstLine(const fs::path& path) {
  std::ifstream in(path);
  std::string line;
  std::getline(in, line);
  while (!line.empty() && std::isspace(static_cast<unsigned char>(line.back()))) line.pop_back();
  return line;
}

// The kernel's UART type of a ttyS port: "0" when no UART answered there,
// empty when nothing tells.
std::string UartType(const fs::path& classEntry) { return FirstLine(classEntry / "type"); }

std::string UartName(const std::string& type) {
  static const char* const kNames[] = {"", "8250", "16450", "16550", "16550A"};
  const int number = type.empty() ? 0 : std::atoi(type.c_str());
  if (number > 0 && number < static_cast<int>(std::size(kNames))) return kNames[number];
  return type.empty() ? "" : "type " + type;
}

void ReadUsbFacts(const fs::path& device, SerialPortInfo* port) {
  std::error_code error;
  fs::path at = fs::canonical(device, error);
  for (int up = 0; !error && up < 6 && at.has_relative_path(); ++up, at = at.parent_path()) {
    if (!fs::exists(at / "idVendor", error)) continue;
    port->usbVendorId = FirstLine(at / "idVendor");
    port->usbProductId = FirstLine(at / "idProduct");
    port->manufacturer = FirstLine(at / "manufacturer");
    port->product = FirstLine(at / "product");
    port->serialNumber = FirstLine(at / "serial");
    return;
  }
}

void ReadSystemFacts(const SerialPortRoots& roots, const std::string& name, SerialPortInfo* port) {
  const fs::path device = roots.classTty / name / "device";
  std::error_code error;
  const fs::path driver = fs::read_symlink(device / "driver", error);
  // Newer kernels put every ttyS behind the generic "port" driver: it tells nothing.
  if (!error && driver.filename() != "port") port->driver = driver.filename().string();
  ReadUsbFacts(device, port);
}

void AddAliases(const SerialPortRoots& roots, std::vector<SerialPortInfo>* ports) {
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(roots.byId, error)) {
    const fs::path target = fs::canonical(entry.path(), error);
    if (error) continue;
    for (SerialPortInfo& port : *ports)
      if (fs::equivalent(target, port.devicePath, error)) port.aliases.push_back(entry.path().string());
  }
  for (SerialPortInfo& port : *ports) std::sort(port.aliases.begin(), port.aliases.end());
}

}  // namespace

std::vector<SerialPortInfo> ListSerialPorts(const SerialPortRoots& roots) {
  std::vector<SerialPortInfo> ports;
  for (const std::string prefix : {"ttyS", "ttyUSB", "ttyACM"}) {
    std::vector<std::pair<int, std::string>> found;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(roots.devices, error)) {
      const std::string name = entry.path().filename().string();
      const int number = DeviceNumber(name, prefix);
      if (number < 0 || (prefix == "ttyS" && UartType(roots.classTty / name) == "0")) continue;
      found.emplace_back(number, name);
    }
    std::sort(found.begin(), found.end());
    for (const auto& [number, name] : found) {
      SerialPortInfo port;
      port.devicePath = (roots.devices / name).string();
      port.portName = prefix == "ttyS" && number < kComPorts ? "COM" + std::to_string(number + 1) : port.devicePath;
      if (prefix == "ttyS") port.uart = UartName(UartType(roots.classTty / name));
      ReadSystemFacts(roots, name, &port);
      ports.push_back(std::move(port));
    }
  }
  AddAliases(roots, &ports);
  return ports;
}
#endif  // _WIN32

std::string SerialPortInfo::Description() const {
  std::string text;
  const auto add = [&text](const std::string& part, const char* separator) {
    if (part.empty()) return;
    if (!text.empty()) text += separator;
    text += part;
  };
  if (!usbVendorId.empty()) add("USB " + usbVendorId + ":" + usbProductId, ", ");
  add(manufacturer, " ");
  add(product, " ");
  if (!serialNumber.empty()) add("serial " + serialNumber, ", ");
  if (!uart.empty()) add(uart + " UART", ", ");
  if (!driver.empty()) add("(" + driver + ")", " ");
  return text;
}

std::string SerialPortInfo::MenuText() const {
  const std::string& known = !product.empty() ? product : manufacturer;
  return known.empty() ? portName : portName + " - " + known;
}

}  // namespace vantor
