#include "ui/window/port_list.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace vantor::ui {

std::vector<PortEntry> SerialPortsPresent(const std::string& deviceDir) {
  std::vector<PortEntry> entries;
  for (const char* prefix : {"ttyUSB", "ttyACM"}) {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(deviceDir, error)) {
      const std::string name = entry.path().filename().string();
      if (name.rfind(prefix, 0) == 0) names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) entries.push_back({name, (std::filesystem::path(deviceDir) / name).string()});
  }
  return entries;
}

}  // namespace vantor::ui
