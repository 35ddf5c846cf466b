#include <cctype>
#include <string>

#include "platform/serial_device.h"

namespace vantor {
namespace {

constexpr int kFirstComPort = 1;
constexpr int kLastComPort = 40;

// 1..40 for "COM1".."COM40" (any letter case), 0 for anything else.
int ComPortNumber(const std::string& name) {
  if (name.size() < 4 || name.size() > 5) return 0;
  for (int i = 0; i < 3; ++i)
    if (std::toupper(static_cast<unsigned char>(name[i])) != "COM"[i]) return 0;
  if (name[3] == '0') return 0;
  int number = 0;
  for (std::size_t i = 3; i < name.size(); ++i) {
    if (!std::isdigit(static_cast<unsigned char>(name[i]))) return 0;
    number = number * 10 + (name[i] - '0');
  }
  return (number >= kFirstComPort && number <= kLastComPort) ? number : 0;
}

}  // namespace

std::string DevicePathForPort(const std::string& portName) {
#ifdef _WIN32
  const int number = ComPortNumber(portName);
  return number ? "\\\\.\\COM" + std::to_string(number) : std::string();
#else
  if (!portName.empty() && portName.front() == '/') return portName;
  const int number = ComPortNumber(portName);
  return number ? "/dev/ttyS" + std::to_string(number - 1) : std::string();
#endif
}

bool PortNameFits(const std::string& portName) {
#ifdef _WIN32
  constexpr std::size_t kPrefix = 4;  // "\\.\"
#else
  constexpr std::size_t kPrefix = 0;  // the name is the device path itself
#endif
  return kPrefix + portName.size() < kDeviceNameBytes;
}

}  // namespace vantor
